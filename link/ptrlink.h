// Pointerhub: the shared settings block and the records that cross to the
// TAVREN driver. Shared by ptrlink, ptragent and ptrsheet, which are built
// separately and must agree on every byte, in the 32-bit and the 64-bit build.
#ifndef PTRLINK_H
#define PTRLINK_H

#include <stddef.h>
#include <stdint.h>

// Name and size of the named mapping that holds MouseShareData.
#define PTR_SHARE_NAME "XXXMOUSE_SHARE_DATA"
#define PTR_SHARE_SIZE 284u

// Full path of ptrlink.dll, terminator included.
#define PTR_LIBRARY_PATH_SIZE 263u
// The agent's argument may be at most this long: room for "\ptrlink.dll" and the NUL.
#define PTR_LIBRARY_FILE "\\ptrlink.dll"
#define PTR_MAX_INSTALL_DIR (PTR_LIBRARY_PATH_SIZE - 1u - (sizeof(PTR_LIBRARY_FILE) - 1u))

// Device under which the driver is reached.
#define PTR_DEVICE_NAME "\\\\.\\TAVREN"

// Driver request codes: plain numbers, whose two low bits choose the transfer
// method on NT-family hosts (1 in-direct, 2 out-direct, 3 neither, 4 buffered).
enum PtrDriverRequest : uint32_t {
    IOCTL_SET_ACTION_KEYS = 1,
    IOCTL_SET_STATUS = 2,
    IOCTL_GET_MOUSE_INFO = 3,
    IOCTL_REMOVE_DRV_REGISTRY = 4,
};

// Action of a mouse button; the page lists the actions in this order, so a
// list index is a code.
enum ButtonAction : uint8_t {
    ACTION_UNASSIGNED = 0,
    ACTION_DOUBLE_CLICK = 1,
    ACTION_START = 2,
    ACTION_NEXT_TASK = 3,
    ACTION_F1_HELP = 4,
};
#define PTR_ACTION_COUNT 5u

// Bytes 0..6 of the block, in the order the driver receives them.
#define PTR_DRIVER_STATUS_SIZE 7u

#pragma pack(push, 1)

struct DriverStatus {
    uint8_t middleAction;
    uint8_t secondAction;
    uint8_t swapButtons;
    uint8_t statusEnabled;
    uint8_t acceleration;
    uint8_t sensitivity;
    uint8_t threeButtonMode;
};

// Eight key combinations: the first keys of all entries, then the second keys;
// each key is its virtual-key code followed by its scan code.
struct ActionKey {
    uint8_t virtualKey;
    uint8_t scanCode;
};
struct ActionKeyTable {
    ActionKey firstKey[8];
    ActionKey secondKey[8];
};

// The driver's reply to IOCTL_GET_MOUSE_INFO.
struct MouseInfo {
    uint8_t valid;
    uint8_t buttonCount;
};

struct MouseShareData {
    uint8_t middleAction;        // ButtonAction
    uint8_t secondAction;        // ButtonAction of the non-primary button
    uint8_t swapButtons;         // 1: left-hand use
    uint8_t statusEnabled;       // 1 while the agent runs
    uint8_t acceleration;
    uint8_t sensitivity;
    uint8_t threeButtonMode;
    uint8_t cursorCenterEnabled; // the F10 hook acts only on exactly 1
    uint32_t doubleClickTime;    // milliseconds
    uint32_t reserved1;
    uint32_t hookHandle;         // HHOOK, kept as its 32-bit value in both builds
    uint8_t reserved2;
    char libraryPath[PTR_LIBRARY_PATH_SIZE];
};

#pragma pack(pop)

static_assert(sizeof(DriverStatus) == PTR_DRIVER_STATUS_SIZE, "DriverStatus is 7 bytes");
static_assert(sizeof(ActionKeyTable) == 32, "ActionKeyTable is 32 bytes");
static_assert(offsetof(ActionKeyTable, secondKey) == 16, "second keys start at byte 16");
static_assert(sizeof(MouseInfo) == 2, "MouseInfo is 2 bytes");

static_assert(offsetof(MouseShareData, middleAction) == 0, "middleAction");
static_assert(offsetof(MouseShareData, secondAction) == 1, "secondAction");
static_assert(offsetof(MouseShareData, swapButtons) == 2, "swapButtons");
static_assert(offsetof(MouseShareData, statusEnabled) == 3, "statusEnabled");
static_assert(offsetof(MouseShareData, acceleration) == 4, "acceleration");
static_assert(offsetof(MouseShareData, sensitivity) == 5, "sensitivity");
static_assert(offsetof(MouseShareData, threeButtonMode) == 6, "threeButtonMode");
static_assert(offsetof(MouseShareData, cursorCenterEnabled) == 7, "cursorCenterEnabled");
static_assert(offsetof(MouseShareData, doubleClickTime) == 8, "doubleClickTime");
static_assert(offsetof(MouseShareData, reserved1) == 12, "reserved1");
static_assert(offsetof(MouseShareData, hookHandle) == 16, "hookHandle");
static_assert(offsetof(MouseShareData, reserved2) == 20, "reserved2");
static_assert(offsetof(MouseShareData, libraryPath) == 21, "libraryPath");
static_assert(sizeof(MouseShareData) == PTR_SHARE_SIZE, "MouseShareData is 284 bytes");
static_assert(PTR_MAX_INSTALL_DIR == 250, "install directory of at most 250 characters");

// The driver status is the head of the block, byte for byte.
static_assert(offsetof(MouseShareData, middleAction) == offsetof(DriverStatus, middleAction) &&
                  offsetof(MouseShareData, secondAction) == offsetof(DriverStatus, secondAction) &&
                  offsetof(MouseShareData, swapButtons) == offsetof(DriverStatus, swapButtons) &&
                  offsetof(MouseShareData, statusEnabled) == offsetof(DriverStatus, statusEnabled) &&
                  offsetof(MouseShareData, acceleration) == offsetof(DriverStatus, acceleration) &&
                  offsetof(MouseShareData, sensitivity) == offsetof(DriverStatus, sensitivity) &&
                  offsetof(MouseShareData, threeButtonMode) == offsetof(DriverStatus, threeButtonMode),
              "DriverStatus is bytes 0..6 of the block");

#endif

// Per-process state of ptrlink: one set in every process that has loaded the
// library (the agent, the control panel, and each process the hook draws it into).
#ifndef LINK_STATE_H
#define LINK_STATE_H

#include <windows.h>

#include <type_traits>

#include "ptrlink.h"
#include "ptrlink_exports.h"

extern HINSTANCE linkInstance;      // this module, handed to the system with the hook
extern HANDLE shareMapping;         // this process's handle of the block's mapping
extern MouseShareData *shareData;   // this process's view of the block
extern HANDLE driverDevice;         // this process's handle of the TAVREN device

// The exports, checked against the types by which callers bind them.
extern "C" {
LONG WINAPI UpdateButtonStatus(void);
BOOL WINAPI EnableDisableStatus(DWORD value);
BOOL WINAPI InitButton(void);
BOOL WINAPI InstallHooks(void);
BOOL WINAPI RemoveHooks(void);
BOOL WINAPI GetMouseInfo(void *buffer, DWORD size);
BOOL WINAPI RemoveDrvRegistry(void);
}
static_assert(std::is_same<decltype(&UpdateButtonStatus), UpdateButtonStatusProc>::value, "");
static_assert(std::is_same<decltype(&EnableDisableStatus), EnableDisableStatusProc>::value, "");
static_assert(std::is_same<decltype(&InitButton), InitButtonProc>::value, "");
static_assert(std::is_same<decltype(&InstallHooks), InstallHooksProc>::value, "");
static_assert(std::is_same<decltype(&RemoveHooks), RemoveHooksProc>::value, "");
static_assert(std::is_same<decltype(&GetMouseInfo), GetMouseInfoProc>::value, "");
static_assert(std::is_same<decltype(&RemoveDrvRegistry), RemoveDrvRegistryProc>::value, "");

// Sends DriverStatus, bytes 0..6 of the block as they stand, with request 2.
BOOL SendDriverStatus(void);
// Sends the key table with request 1.
BOOL SendActionKeys(const ActionKeyTable *table);

// The key table for the keyboard actions under the keyboard layout in force.
void BuildActionKeyTable(ActionKeyTable *table);

#endif

// The settings store: what InitButton loads from the registry into the block,
// the system and the driver, and what UpdateButtonStatus applies and saves.
#include <gtest/gtest.h>

#include <cstring>

#include "link_fixture.h"
#include "settings_registry.h"

class SettingsStore : public LinkFixture {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        LinkFixture::SetUp();
        if (HasFatalFailure()) return;
        initButton = Bind<InitButtonProc>("InitButton");
        updateButtonStatus = Bind<UpdateButtonStatusProc>("UpdateButtonStatus");
    }

    SystemMouseGuard guard;
    InitButtonProc initButton = nullptr;
    UpdateButtonStatusProc updateButtonStatus = nullptr;
};

struct Loaded {
    uint8_t middle, second, swap, acceleration, sensitivity, three, center;
};

struct LoadCase {
    const char *name;
    void (*store)();
    Loaded expected;
    bool prefillBlock;  // the block holds other settings before the load
};

static const Loaded kDefaults = {0, 0, 0, 1, 60, 0, 0};

static const LoadCase kLoadCases[] = {
    {"missing key", [] {}, kDefaults, false},
    {"empty key", [] { CreateSettingsKey(); }, kDefaults, false},
    {"names ignore case",
     [] {
         SetTextValue("Middle Button", "start");
         SetTextValue("Second Button", "NEXT TASK");
     },
     {2, 3, 0, 1, 60, 0, 0}, false},
    {"name with trailing blank",
     [] {
         SetTextValue("Middle Button", "Start ");
         SetTextValue("Second Button", "F1(Help)");
     },
     {0, 4, 0, 1, 60, 0, 0}, false},
    {"numbers as stored",
     [] {
         SetTextValue("Sensivity", "65");
         SetTextValue("Acceleration", "3");
         SetTextValue("Three Key", "1");
         SetTextValue("Cursor Center", "2");
     },
     {0, 0, 0, 3, 65, 1, 2}, false},
    {"numbers keep their low 8 bits",
     [] {
         SetTextValue("Sensivity", "300");
         SetTextValue("Acceleration", "-1");
     },
     {0, 0, 0, 255, 44, 0, 0}, false},
    {"white space, sign and trailing text",
     [] {
         SetTextValue("Sensivity", " \t+42x");
         SetTextValue("Three Key", "abc");
         SetTextValue("Cursor Center", "");
     },
     {0, 0, 0, 1, 42, 0, 0}, false},
    {"swap from the first character", [] { SetTextValue("SwapMouseButtons", "10"); }, {0, 0, 1, 1, 60, 0, 0}, false},
    {"swap other text", [] { SetTextValue("SwapMouseButtons", "yes"); }, {0, 0, 0, 1, 60, 0, 0}, false},
    // The registry terminates every REG_SZ it stores, so a 15-byte text without
    // terminator comes as another type.
    {"15 bytes without terminator",
     [] {
         SetRawValue("Sensivity", REG_BINARY, "000000000000120", 15);
         SetRawValue("Acceleration", REG_BINARY, "              2", 15);
         SetRawValue("Middle Button", REG_BINARY, "Double-Click   ", 15);
     },
     {0, 0, 0, 2, 120, 0, 0}, false},
    {"longer than 15 bytes counts as missing",
     [] {
         SetTextValue("Sensivity", "0000000000000065");
         SetTextValue("Middle Button", "Start          x");
         SetTextValue("Second Button", "Start");
     },
     {0, 2, 0, 1, 60, 0, 0}, false},
    {"other types read as text",
     [] {
         DWORD one = '1';
         SetRawValue("Three Key", REG_DWORD, &one, sizeof(one));
         SetRawValue("SwapMouseButtons", REG_BINARY, "1", 1);
         SetRawValue("Middle Button", REG_BINARY, "F1(Help)", 8);
         SetRawValue("Sensivity", REG_EXPAND_SZ, "90", 3);
     },
     {4, 0, 1, 1, 90, 1, 0}, false},
    {"missing values leave the block's fields", [] { SetTextValue("Sensivity", "80"); }, {3, 4, 1, 1, 80, 1, 1},
     true},
    {"stored double-click speed is not read", [] { SetTextValue("DoubleClickSpeed", "123"); }, kDefaults, false},
};

TEST_F(SettingsStore, InitButtonLoadsTheStoredSettings)
{
    SetDoubleClickTime(480);
    for (const LoadCase &c : kLoadCases) {
        SCOPED_TRACE(c.name);
        DeleteSettingsKey();
        c.store();
        std::memset(block.data, 0, 8);
        block.data->statusEnabled = 1;
        block.data->doubleClickTime = 0;
        if (c.prefillBlock) {
            block.data->middleAction = 3;
            block.data->secondAction = 4;
            block.data->swapButtons = 1;
            block.data->threeButtonMode = 1;
            block.data->cursorCenterEnabled = 1;
        }
        ASSERT_TRUE(ResetDriver());

        EXPECT_TRUE(initButton());

        const Loaded &e = c.expected;
        const Loaded got = {block.data->middleAction, block.data->secondAction, block.data->swapButtons,
                            block.data->acceleration, block.data->sensitivity,  block.data->threeButtonMode,
                            block.data->cursorCenterEnabled};
        EXPECT_EQ(std::memcmp(&got, &e, sizeof(got)), 0)
            << "got middle " << int(got.middle) << " second " << int(got.second) << " swap " << int(got.swap)
            << " acceleration " << int(got.acceleration) << " sensitivity " << int(got.sensitivity) << " three "
            << int(got.three) << " center " << int(got.center);
        EXPECT_EQ(block.data->doubleClickTime, 480u) << "taken from the system";
        EXPECT_EQ(block.data->statusEnabled, 1);
        EXPECT_TRUE(SettingsKeyExists());
        EXPECT_EQ(SystemMouseSeenElsewhere().swapped, e.swap != 0);

        TavrenRecord record = Record();
        auto requests = DriverRequests(record);
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[0].code, 1u);
        EXPECT_EQ(requests[1].code, 2u);
        EXPECT_EQ(std::memcmp(record.status, block.bytes(), 7), 0) << "the driver has the loaded settings";
    }
    EXPECT_FALSE(ReadRawValue("Middle Button").present) << "a load writes no value";
}

TEST_F(SettingsStore, MissingKeyIsCreatedEmpty)
{
    EXPECT_TRUE(initButton());
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, TEST_SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 99, subkeys = 99;
    RegQueryInfoKeyA(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    EXPECT_EQ(values, 0u);
    EXPECT_EQ(subkeys, 0u);
}

TEST_F(SettingsStore, InitButtonSendsTheKeyTableOfTheLayoutInForce)
{
    EXPECT_TRUE(initButton());
    auto requests = DriverRequests(Record());
    ASSERT_GE(requests.size(), 1u);
    ASSERT_EQ(requests[0].code, 1u);
    ASSERT_EQ(requests[0].inputLength, 32u);
    EXPECT_EQ(requests[0].outputLength, 0u);

    auto scan = [](UINT vk) { return uint8_t(MapVirtualKeyA(vk, 0)); };
    uint8_t expected[32] = {};
    const uint8_t first[3] = {VK_CONTROL, VK_MENU, VK_F1}, second[3] = {VK_ESCAPE, VK_ESCAPE, 0};
    for (int e = 0; e < 3; ++e) {
        expected[2 * e] = first[e];
        expected[2 * e + 1] = scan(first[e]);
        expected[16 + 2 * e] = second[e];
        expected[17 + 2 * e] = second[e] ? scan(second[e]) : 0;
    }
    for (int i = 0; i < 32; ++i) EXPECT_EQ(requests[0].input[i], expected[i]) << "byte " << i;
    // The prefix's layout is U.S. English.
    EXPECT_EQ(requests[0].input[1], 0x1D);
    EXPECT_EQ(requests[0].input[3], 0x38);
    EXPECT_EQ(requests[0].input[5], 0x3B);
    EXPECT_EQ(requests[0].input[17], 0x01);
}

TEST_F(SettingsStore, InitButtonReturnsTheStatusRequestsResult)
{
    ASSERT_TRUE(ConfigureDriver(1, 3, 1u << 2));
    EXPECT_FALSE(initButton());
    ASSERT_TRUE(ConfigureDriver(1, 3, 1u << 1));
    EXPECT_TRUE(initButton()) << "the key table's result is not looked at";
    EXPECT_EQ(Record().statusCount, 1u);
}

static void ExpectStoredText(const char *name, const std::string &text)
{
    SCOPED_TRACE(name);
    RawValue value = ReadRawValue(name);
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, DWORD(REG_SZ));
    // The field is written with 15 bytes; Windows 95, like Wine in its mode,
    // keeps a REG_SZ up to its terminator.
    std::string field = text + std::string(15 - text.size(), '\0');
    EXPECT_TRUE(value.bytes.size() == text.size() + 1 || value.bytes.size() == 15) << value.bytes.size();
    EXPECT_EQ(value.bytes, field.substr(0, value.bytes.size()));
}

TEST_F(SettingsStore, UpdateButtonStatusAppliesAndSavesTheBlock)
{
    ASSERT_TRUE(CreateSettingsKey());
    const uint8_t settings[8] = {2, 3, 1, 7, 2, 150, 1, 1};
    std::memcpy(block.data, settings, sizeof(settings));
    block.data->doubleClickTime = 450;

    EXPECT_EQ(updateButtonStatus(), ERROR_SUCCESS);

    TavrenRecord record = Record();
    auto requests = DriverRequests(record);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, 2u);
    EXPECT_EQ(std::memcmp(record.status, settings, 7), 0);

    ExpectStoredText("Middle Button", "Start");
    ExpectStoredText("Second Button", "Next Task");
    ExpectStoredText("SwapMouseButtons", "1");
    ExpectStoredText("DoubleClickSpeed", "450");
    ExpectStoredText("Sensivity", "150");
    ExpectStoredText("Acceleration", "2");
    ExpectStoredText("Three Key", "1");
    ExpectStoredText("Cursor Center", "1");

    SystemMouse system = SystemMouseSeenElsewhere();
    EXPECT_TRUE(system.swapped);
    EXPECT_EQ(system.doubleClickTime, 450u);

    block.data->swapButtons = 0;
    block.data->cursorCenterEnabled = 0;
    EXPECT_EQ(updateButtonStatus(), ERROR_SUCCESS);
    ExpectStoredText("SwapMouseButtons", "0");
    ExpectStoredText("Cursor Center", "0");
    EXPECT_FALSE(SystemMouseSeenElsewhere().swapped);
}

TEST_F(SettingsStore, ApplyThenLoadGivesTheSameSettings)
{
    ASSERT_TRUE(CreateSettingsKey());
    const uint8_t settings[8] = {1, 4, 1, 1, 3, 200, 0, 1};
    std::memcpy(block.data, settings, sizeof(settings));
    block.data->doubleClickTime = 700;
    EXPECT_EQ(updateButtonStatus(), ERROR_SUCCESS);

    std::memset(block.data, 0, 12);
    block.data->statusEnabled = 1;
    EXPECT_TRUE(initButton());
    EXPECT_EQ(std::memcmp(block.data, settings, sizeof(settings)), 0);
    EXPECT_EQ(block.data->doubleClickTime, 700u);
}

TEST_F(SettingsStore, ActionsWithoutNameAreStoredUnassigned)
{
    ASSERT_TRUE(CreateSettingsKey());
    block.data->middleAction = 5;
    block.data->secondAction = 255;
    EXPECT_EQ(updateButtonStatus(), ERROR_SUCCESS);
    ExpectStoredText("Middle Button", "(Unassigned)");
    ExpectStoredText("Second Button", "(Unassigned)");
    EXPECT_TRUE(initButton());
    EXPECT_EQ(block.data->middleAction, 0);
    EXPECT_EQ(block.data->secondAction, 0);
}

TEST_F(SettingsStore, ApplyWithoutTheKeyReturnsTheRegistryError)
{
    SwapMouseButton(FALSE);
    SetDoubleClickTime(500);
    block.data->swapButtons = 1;
    block.data->doubleClickTime = 300;

    EXPECT_EQ(updateButtonStatus(), ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(SettingsKeyExists()) << "nothing was written";
    SystemMouse system = SystemMouseSeenElsewhere();
    EXPECT_FALSE(system.swapped);
    EXPECT_EQ(system.doubleClickTime, 500u);
    EXPECT_EQ(Record().statusCount, 1u) << "the driver already has the new status";
}

// Stages of the logon test (agent-logon.sh): what the package's INF wrote, the
// agent that the next logon started from the Run value, and the removal
// afterwards. Each suite runs only in its stage, named by PTR_LOGON_STAGE.
#include <gtest/gtest.h>

#include "agent_process.h"
#include "driver_probe.h"
#include "machine_registry.h"
#include "processes.h"
#include "settings_registry.h"
#include "share_block.h"

namespace {

const char kClass[] = "{D4BCF700-791D-11CF-99F9-444553540000}";  // the handler key's value
const char kInstallDir[] = "C:\\Pointerhub";

struct Text {
    bool present = false;
    DWORD type = 0;
    std::string text;
};

Text ReadText(HKEY root, const std::string &key, const char *name)
{
    Text value;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle)) return value;
    char data[512] = {};
    DWORD size = sizeof(data) - 1;
    value.present = RegQueryValueExA(handle, name, NULL, &value.type, reinterpret_cast<BYTE *>(data), &size) == 0;
    value.text = data;
    RegCloseKey(handle);
    return value;
}

void ExpectText(HKEY root, const std::string &key, const char *name, const std::string &expected)
{
    SCOPED_TRACE(key + " " + (name ? name : "(default)"));
    Text value = ReadText(root, key, name);
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, DWORD(REG_SZ));
    EXPECT_EQ(value.text, expected);
}

CHILD_ROLE(report_mouse_acceleration)
{
    int v[3] = {-1, -1, -1};
    SystemParametersInfoA(SPI_GETMOUSE, 0, v, 0);
    return (v[0] & 0xFF) | (v[1] & 0xFF) << 8 | (v[2] & 0xFF) << 16;
}

} // namespace

TEST(Installed, RegistrationAsTheInfWritesIt)
{
    if (!InLogonStage("Installed")) GTEST_SKIP() << "a stage of agent-logon.sh";
    std::string dir = kInstallDir;
    ExpectText(HKEY_LOCAL_MACHINE, kRunKey, "NelvoPtr", "\"" + dir + "\\ptragent.exe\" " + dir);
    ExpectText(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", NULL, dir + "\\ptrsheet.dll");
    ExpectText(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel", "Apartment");
    ExpectText(HKEY_LOCAL_MACHINE, kHandlerKey, NULL, kClass);
    ExpectText(HKEY_CURRENT_USER, TEST_SETTINGS_KEY, "Load FirstTime", "1");
    for (const char *file : {"ptragent.exe", "ptrlink.dll", "ptrsheet.dll"})
        EXPECT_NE(GetFileAttributesA((dir + "\\" + file).c_str()), INVALID_FILE_ATTRIBUTES) << file;
    EXPECT_LE(dir.size(), 250u) << "the agent's argument fits in libraryPath";
}

TEST(Logon, AgentStartedFromTheRunValue)
{
    if (!InLogonStage("Logon")) GTEST_SKIP() << "a stage of agent-logon.sh";
    HWND window = WaitForAgentWindow(30000);
    ASSERT_NE(window, nullptr) << "no agent after the logon";
    EXPECT_EQ(CountAgentWindows(), 1);
    EXPECT_FALSE(IsWindowVisible(window));

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    ASSERT_NE(process, nullptr);
    char image[MAX_PATH] = {};
    DWORD length = sizeof(image);
    QueryFullProcessImageNameA(process, 0, image, &length);
    CloseHandle(process);
    EXPECT_STREQ(image, "C:\\Pointerhub\\ptragent.exe") << "the installed agent, as the Run value names it";

    BlockView block;
    ASSERT_TRUE(block.ok());
    EXPECT_STREQ(block.data->libraryPath, "C:\\Pointerhub\\ptrlink.dll");
    EXPECT_EQ(block.data->statusEnabled, 1);
    EXPECT_EQ(block.data->acceleration, 1);
    EXPECT_EQ(block.data->sensitivity, 60);
    EXPECT_NE(block.data->hookHandle, 0u);

    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    std::vector<TavrenRequest> requests;
    for (const TavrenRequest &r : DriverRequests(record))
        if (r.processId == processId) requests.push_back(r);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].code, 1u);
    EXPECT_EQ(requests[1].code, 2u);
    EXPECT_EQ(requests[1].input[3], 1);

    // The first-run reset has run and the value is gone.
    for (int i = 0; i < 100 && ReadRawValue("Load FirstTime").present; ++i) Sleep(50);
    EXPECT_FALSE(ReadRawValue("Load FirstTime").present);
    EXPECT_EQ(RunChild("report_mouse_acceleration"), 0) << "thresholds and acceleration 0, 0, 0";
}

TEST(Removed, PackageTakenOutAgain)
{
    if (!InLogonStage("Removed")) GTEST_SKIP() << "a stage of agent-logon.sh";
    CloseAllAgents();
    EXPECT_EQ(CountAgentWindows(), 0);
    HKEY run;
    if (!RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &run)) {
        RegDeleteValueA(run, "NelvoPtr");
        RegCloseKey(run);
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHandlerKey);
    DeleteSettingsKey();
    for (const char *file : {"ptragent.exe", "ptrlink.dll", "ptrsheet.dll"})
        DeleteFileA((std::string(kInstallDir) + "\\" + file).c_str());
    RemoveDirectoryA(kInstallDir);
    int defaults[3] = {6, 10, 1};
    SystemParametersInfoA(SPI_SETMOUSE, 0, defaults, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    EXPECT_FALSE(ReadText(HKEY_LOCAL_MACHINE, kRunKey, "NelvoPtr").present);
    EXPECT_EQ(GetFileAttributesA(kInstallDir), INVALID_FILE_ATTRIBUTES);
}

// Stages of the restart test (uninstall-restart.sh), on a machine where the
// package is installed and the agent came up at logon: the uninstall command
// with Yes to both questions, the restart that follows it, and the next logon.
// Each suite runs only in its stage, named by PTR_LOGON_STAGE.
#include <gtest/gtest.h>

#include <string>

#include "agent_process.h"
#include "control_panel.h"
#include "driver_probe.h"
#include "machine_registry.h"
#include "message_boxes.h"
#include "processes.h"
#include "settings_registry.h"
#include "share_block.h"

namespace {

const char kWitnessKey[] = "Software\\PointerhubTests";

bool WaitForText(HKEY root, const char *key, const char *name, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (RegText(root, key, name) != "(missing)") return true;
        Sleep(100);
    }
    return false;
}

// A window of another process that notes what the end of the session tells it.
LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        SetRegText(HKEY_CURRENT_USER, kWitnessKey, "QueryEndSession", std::to_string(ULONG(lParam)));
        return TRUE;
    }
    if (message == WM_ENDSESSION) {
        SetRegText(HKEY_CURRENT_USER, kWitnessKey, "EndSession", std::to_string(ULONG(wParam)));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

CHILD_ROLE(end_session_witness)
{
    WNDCLASSA c = {};
    c.lpfnWndProc = WitnessProc;
    c.hInstance = GetModuleHandleA(NULL);
    c.lpszClassName = "PtrTestEndSessionWitness";
    if (!RegisterClassA(&c)) return 1;
    if (!CreateWindowA(c.lpszClassName, "witness", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL, c.hInstance, NULL)) return 2;
    RaiseSignal(argument);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

} // namespace

TEST(Restart, UninstallAndRestart)
{
    if (!InLogonStage("Restart")) GTEST_SKIP() << "a stage of uninstall-restart.sh";
    HWND agent = WaitForAgentWindow(30000);
    ASSERT_NE(agent, nullptr) << "no agent from the logon";
    ASSERT_TRUE(ResetDriver());
    // What the uninstall must leave: the user's settings.
    SetRegText(HKEY_CURRENT_USER, TEST_SETTINGS_KEY, "Cursor Center", "1");
    // Only a restart runs the start-up entries again.
    SetRegText(HKEY_LOCAL_MACHINE, kRunKey, "PtrTestRestarted",
            "reg add HKCU\\Software\\PointerhubTests /v Restarted /d 1 /f");
    ChildProcess witness;
    ASSERT_TRUE(StartChild(&witness, "end_session_witness", "PtrTestWitnessUp"));
    ASSERT_TRUE(WaitSignal("PtrTestWitnessUp"));

    ControlPanel panel;
    ASSERT_TRUE(panel.Open());
    ASSERT_TRUE(panel.Click(1037));
    HWND ask = WaitForBox("uninstall");
    ASSERT_NE(ask, nullptr);
    ASSERT_TRUE(Answer(ask, IDYES));
    HWND reboot = WaitForBox("Reboot");
    ASSERT_NE(reboot, nullptr);
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "NelvoPtr"), "(missing)");
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kHandlerKey));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kServiceKey)) << "request 4 removed the driver's registration";
    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    EXPECT_EQ(record.requests[4], 1u);
    CloseDriverProbe();

    ASSERT_TRUE(Answer(reboot, IDYES));
    // The session's programs are asked to end, and end.
    EXPECT_TRUE(panel.WaitClosed(30000)) << "the control panel";
    EXPECT_GE(witness.wait(30000), 0) << "the witness";
    EXPECT_NE(RegText(HKEY_CURRENT_USER, kWitnessKey, "QueryEndSession"), "(missing)");
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kWitnessKey, "EndSession"), "1");
    for (int i = 0; i < 300 && IsWindow(agent); ++i) Sleep(100);
    EXPECT_FALSE(IsWindow(agent)) << "the agent";

    // The restart runs the start-up entries, which no longer start the agent.
    EXPECT_TRUE(WaitForText(HKEY_CURRENT_USER, kWitnessKey, "Restarted", 60000)) << "no restart";
    Sleep(3000);
    EXPECT_EQ(CountAgentWindows(), 0);
    HKEY run;
    if (!RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_ALL_ACCESS, &run)) {
        RegDeleteValueA(run, "PtrTestRestarted");
        RegCloseKey(run);
    }
}

TEST(NextLogon, NothingOfThePackageStarts)
{
    if (!InLogonStage("NextLogon")) GTEST_SKIP() << "a stage of uninstall-restart.sh";
    Sleep(5000);
    EXPECT_EQ(CountAgentWindows(), 0) << "the agent started";
    EXPECT_FALSE(ShareBlockExists());
    HANDLE device = CreateFileA("\\\\.\\TAVREN", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(device, INVALID_HANDLE_VALUE) << "the driver is loaded";
    if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    ASSERT_NE(manager, nullptr);
    SC_HANDLE service = OpenServiceA(manager, "tavren", SERVICE_QUERY_STATUS);
    EXPECT_EQ(service, nullptr) << "the driver is still registered";
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);

    // The Mouse control panel has its own Buttons page again.
    ControlPanel panel;
    ASSERT_TRUE(panel.OpenSheet());
    EXPECT_TRUE(panel.ShowsOwnButtonsPage()) << "the control panel's own Buttons page";
    EXPECT_EQ(FindMousePage(panel.sheet), nullptr);
    ASSERT_TRUE(panel.Press(IDCANCEL));
    EXPECT_TRUE(panel.WaitClosed());

    // The user's settings and the files stay.
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, TEST_SETTINGS_KEY, "Cursor Center"), "1");
    for (const char *file : {"ptragent.exe", "ptrlink.dll", "ptrsheet.dll"})
        EXPECT_NE(GetFileAttributesA((std::string("C:\\Pointerhub\\") + file).c_str()), INVALID_FILE_ATTRIBUTES) << file;
    RegDeleteTreeA(HKEY_CURRENT_USER, kWitnessKey);
}

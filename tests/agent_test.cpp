// The resident agent started by hand: its start-up, single instance, first-run
// reset, argument, failures and shutdown, seen from other processes.
#include <gtest/gtest.h>

#include <cstring>

#include "agent_process.h"
#include "class_probe.h"
#include "driver_probe.h"
#include "key_window.h"
#include "settings_registry.h"
#include "share_block.h"
#include "test_env.h"
#include "xdo.h"

namespace {

struct MouseParams {
    int threshold1, threshold2, acceleration;
};

CHILD_ROLE(report_mouse_params)
{
    int v[3] = {-1, -1, -1};
    SystemParametersInfoA(SPI_GETMOUSE, 0, v, 0);
    return (v[0] & 0xFF) | (v[1] & 0xFF) << 8 | (v[2] & 0xFF) << 16;
}

// As a process started now sees them: each process keeps its own copy of the
// system parameters it has read.
MouseParams GetMouseParams()
{
    int v = RunChild("report_mouse_params");
    return {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF};
}

void SetMouseParams(const MouseParams &p)
{
    int v[3] = {p.threshold1, p.threshold2, p.acceleration};
    SystemParametersInfoA(SPI_SETMOUSE, 0, v, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

// The product requests that one process sent, in the order the driver took them.
std::vector<TavrenRequest> RequestsOf(DWORD processId)
{
    TavrenRecord record;
    std::vector<TavrenRequest> of;
    if (!ReadDriver(&record)) return of;
    for (const TavrenRequest &r : DriverRequests(record))
        if (r.processId == processId) of.push_back(r);
    return of;
}

} // namespace

class Agent : public testing::Test {
protected:
    void SetUp() override
    {
        CloseAllAgents();
        ASSERT_FALSE(ShareBlockExists()) << "a block from elsewhere is still alive";
        DeleteSettingsKey();
        ASSERT_TRUE(ResetDriver());
    }
    void TearDown() override
    {
        CloseAllAgents();
        SetMouseParams(savedMouse);
    }
    // Starts an agent from this build and waits until it is resident.
    HWND StartResident(ChildProcess *agent)
    {
        EXPECT_TRUE(StartAgent(agent, " " + BuildInstallDir()));
        HWND window = WaitForAgentWindow();
        EXPECT_NE(window, nullptr) << "exit code " << agent->wait(0);
        return window;
    }

    SystemMouseGuard guard;
    MouseParams savedMouse = GetMouseParams();
};

TEST_F(Agent, StartLoadsTheLibraryAndWaitsHidden)
{
    SetTextValue("Middle Button", "Next Task");
    SetTextValue("Sensivity", "90");
    SetTextValue("Cursor Center", "1");
    ChildProcess agent;
    HWND window = StartResident(&agent);
    ASSERT_NE(window, nullptr);

    BlockView block;
    ASSERT_TRUE(block.ok());
    EXPECT_STREQ(block.data->libraryPath, LinkDllPath().c_str());
    EXPECT_EQ(block.data->statusEnabled, 1);
    EXPECT_EQ(block.data->middleAction, ACTION_NEXT_TASK);
    EXPECT_EQ(block.data->sensitivity, 90);
    EXPECT_EQ(block.data->acceleration, 1);
    EXPECT_EQ(block.data->cursorCenterEnabled, 1);
    EXPECT_EQ(block.data->doubleClickTime, GetDoubleClickTime());
    EXPECT_NE(block.data->hookHandle, 0u);

    auto requests = RequestsOf(agent.id);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].code, 1u);
    EXPECT_EQ(requests[1].code, 2u);
    EXPECT_EQ(requests[1].input[3], 1) << "the status carries statusEnabled 1";

    EXPECT_EQ(CountAgentWindows(), 1);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetClassLongA(window, GCL_STYLE), DWORD(CS_BYTEALIGNWINDOW | CS_SAVEBITS | CS_DBLCLKS));
    EXPECT_EQ(GetClassLongA(window, GCL_CBWNDEXTRA), 30u);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CAPTION), LONG(WS_POPUP));
    char text[64] = "?";
    HWND label = FindWindowExA(window, NULL, "Static", NULL);
    ASSERT_NE(label, nullptr);
    GetWindowTextA(label, text, sizeof(text));
    EXPECT_STREQ(text, "Pointerhub OK!");
    EXPECT_EQ(GetWindowTextA(window, text, sizeof(text)), 0) << "the dialog has no caption";
}

// The class as the agent registered it, read inside the agent's process by a
// message hook on its thread.
TEST_F(Agent, ClassCarriesBothIconsAndTheDialogDefaults)
{
    ChildProcess agent;
    HWND window = StartResident(&agent);
    ASSERT_NE(window, nullptr);
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(ClassProbeReport), CLASS_PROBE_REPORT);
    auto *report = static_cast<ClassProbeReport *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(report, nullptr);
    HMODULE probe = LoadLibraryA((WinPath(PTR_TEST_PROBE_DIR) + "\\class_probe.dll").c_str());
    ASSERT_NE(probe, nullptr);
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)(void)>(GetProcAddress(probe, "ProbeClassProc")));
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, proc, probe, GetWindowThreadProcessId(window, NULL));
    ASSERT_NE(hook, nullptr);
    for (int i = 0; i < 200 && !report->done; ++i) {
        PostMessageA(window, WM_NULL, 0, 0);
        Sleep(20);
    }
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(report->done) << "the probe did not run in the agent";
    ASSERT_TRUE(report->found);
    EXPECT_EQ(report->style, UINT(CS_BYTEALIGNWINDOW | CS_SAVEBITS | CS_DBLCLKS));
    EXPECT_EQ(report->classExtra, 0);
    EXPECT_EQ(report->windowExtra, DLGWINDOWEXTRA);
    EXPECT_EQ(report->background, ULONGLONG(COLOR_WINDOW + 1));
    EXPECT_TRUE(report->cursorIsArrow);
    EXPECT_TRUE(report->instanceIsModule);
    EXPECT_EQ(report->iconWidth, 32);
    EXPECT_EQ(report->iconHeight, 32);
    EXPECT_TRUE(report->iconIs102);
    EXPECT_EQ(report->smallWidth, 16) << "registered through RegisterClassExA with icon 103";
    EXPECT_EQ(report->smallHeight, 16);
    EXPECT_TRUE(report->smallIs103);
    UnmapViewOfFile(report);
    CloseHandle(mapping);
    FreeLibrary(probe);
}

TEST_F(Agent, CloseTellsTheDriverOffTwiceAndLeavesTheBlockToItsHolders)
{
    ChildProcess agent;
    HWND window = StartResident(&agent);
    ASSERT_NE(window, nullptr);
    BlockView block;  // as a control panel holds it
    ASSERT_TRUE(block.ok());
    ASSERT_TRUE(ResetDriver());

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(agent.wait(), 0);

    auto requests = RequestsOf(agent.id);
    ASSERT_EQ(requests.size(), 2u);
    for (const TavrenRequest &r : requests) {
        EXPECT_EQ(r.code, 2u);
        EXPECT_EQ(r.input[3], 0) << "statusEnabled";
    }
    EXPECT_EQ(block.data->statusEnabled, 0);
    EXPECT_EQ(block.data->hookHandle, 0u);
    EXPECT_STREQ(block.data->libraryPath, LinkDllPath().c_str());
    block.data->middleAction = ACTION_START;
    EXPECT_EQ(block.bytes()[0], ACTION_START) << "the block is still there to write";
    EXPECT_EQ(CountAgentWindows(), 0);
}

TEST_F(Agent, HookLivesAsLongAsTheAgent)
{
    SetTextValue("Cursor Center", "1");
    ChildProcess agent;
    HWND window = StartResident(&agent);
    ASSERT_NE(window, nullptr);
    KeyWindow keys;
    ASSERT_TRUE(keys.Start());

    POINT where;
    ASSERT_TRUE(Xdo("key F10"));
    ASSERT_TRUE(WaitForCount(&keys.report->f10Ups, 1));
    ASSERT_TRUE(PointerLocation(&where));
    EXPECT_EQ(where.x, 512);
    EXPECT_EQ(where.y, 384);

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(agent.wait(), 0);
    ASSERT_TRUE(keys.MovePointer(100, 100));
    ASSERT_TRUE(Xdo("key F10"));
    ASSERT_TRUE(WaitForCount(&keys.report->f10Ups, 2));
    ASSERT_TRUE(PointerLocation(&where));
    EXPECT_EQ(where.x, 100) << "the hook outlived the agent";
    EXPECT_EQ(where.y, 100);
}

struct FirstRunCase {
    const char *name;
    DWORD type;
    const char *data;
    DWORD size;
    bool resets;
};

static const FirstRunCase kFirstRunCases[] = {
    {"\"1\"", REG_SZ, "1", 2, true},
    {"\"0\"", REG_SZ, "0", 2, false},
    {"other text", REG_SZ, "yes", 4, false},
    {"\"1\" in 15 bytes", REG_BINARY, "1\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 15, true},
    {"\"1\" in 16 bytes", REG_BINARY, "1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16, false},
    {"16 characters", REG_SZ, "1111111111111111", 17, false},
};

TEST_F(Agent, SecondStartOnlyPerformsTheFirstRunReset)
{
    ChildProcess first;
    ASSERT_NE(StartResident(&first), nullptr);
    for (const FirstRunCase &c : kFirstRunCases) {
        SCOPED_TRACE(c.name);
        SetMouseParams({6, 10, 1});
        ASSERT_TRUE(SetRawValue("Load FirstTime", c.type, c.data, c.size));

        ChildProcess second;
        ASSERT_TRUE(StartAgent(&second, " " + BuildInstallDir()));
        EXPECT_EQ(second.wait(10000), 0);

        MouseParams after = GetMouseParams();
        MouseParams expected = c.resets ? MouseParams{0, 0, 0} : MouseParams{6, 10, 1};
        EXPECT_EQ(after.threshold1, expected.threshold1);
        EXPECT_EQ(after.threshold2, expected.threshold2);
        EXPECT_EQ(after.acceleration, expected.acceleration);
        EXPECT_EQ(ReadRawValue("Load FirstTime").present, !c.resets);
        EXPECT_EQ(CountAgentWindows(), 1);
        EXPECT_TRUE(first.running());
    }
}

TEST_F(Agent, FirstStartResetsOnceAndTheNextLeavesThePointerAlone)
{
    SetMouseParams({6, 10, 1});
    ASSERT_TRUE(SetTextValue("Load FirstTime", "1"));
    ChildProcess agent;
    HWND window = StartResident(&agent);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 100 && ReadRawValue("Load FirstTime").present; ++i) Sleep(20);
    EXPECT_FALSE(ReadRawValue("Load FirstTime").present);
    MouseParams after = GetMouseParams();
    EXPECT_EQ(after.threshold1 | after.threshold2 | after.acceleration, 0);

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(agent.wait(), 0);
    SetMouseParams({6, 10, 1});
    ChildProcess next;
    ASSERT_NE(StartResident(&next), nullptr);
    EXPECT_EQ(GetMouseParams().acceleration, 1);
}

struct ArgumentCase {
    const char *name;
    std::string tail;      // what follows the quoted program name
    std::string expected;  // libraryPath, or empty when the block must stay untouched
};

TEST_F(Agent, ArgumentIsTakenVerbatim)
{
    const ArgumentCase cases[] = {
        {"no argument", "", "\\ptrlink.dll"},
        {"blank argument", "   ", "\\ptrlink.dll"},
        {"separators skipped", " \t Z:\\none", "Z:\\none\\ptrlink.dll"},
        {"quotes kept", " \"Z:\\no where\"", "\"Z:\\no where\"\\ptrlink.dll"},
        {"trailing backslash kept", " Z:\\none\\", "Z:\\none\\\\ptrlink.dll"},
        {"trailing blank kept", " Z:\\none ", "Z:\\none \\ptrlink.dll"},
        {"250 characters", " " + std::string(250, 'a'), std::string(250, 'a') + "\\ptrlink.dll"},
        {"251 characters", " " + std::string(251, 'a'), ""},
    };
    for (const ArgumentCase &c : cases) {
        SCOPED_TRACE(c.name);
        // A block held open by this process is reused and cleared.
        ShareBlock block("");
        ASSERT_TRUE(block.ok());
        std::memset(block.data, 0xAB, PTR_SHARE_SIZE);

        ChildProcess agent;
        ASSERT_TRUE(StartAgent(&agent, c.tail));
        EXPECT_EQ(agent.wait(10000), 0) << "no library there: the agent ends";

        if (c.expected.empty()) {
            for (unsigned i = 0; i < PTR_SHARE_SIZE; ++i) ASSERT_EQ(block.bytes()[i], 0xAB) << "byte " << i;
            continue;
        }
        for (unsigned i = 0; i < 21; ++i) EXPECT_EQ(block.bytes()[i], i == 3 ? 1 : 0) << "byte " << i;
        EXPECT_EQ(std::string(block.data->libraryPath), c.expected);
        for (unsigned i = 21 + c.expected.size(); i < PTR_SHARE_SIZE; ++i)
            ASSERT_EQ(block.bytes()[i], 0) << "byte " << i;
    }
}

TEST_F(Agent, UnquotedProgramNameEndsAtTheFirstBlank)
{
    ShareBlock block("");
    ASSERT_TRUE(block.ok());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    std::string line = AgentExePath() + "  Z:\\none";
    ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info));
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    EXPECT_STREQ(block.data->libraryPath, "Z:\\none\\ptrlink.dll");
}

TEST_F(Agent, WithoutLibraryOrDriverItEndsAndTheBlockGoes)
{
    ChildProcess withoutLibrary;
    ASSERT_TRUE(StartAgent(&withoutLibrary, " " + BuildInstallDir() + "\\missing"));
    EXPECT_EQ(withoutLibrary.wait(), 0);
    EXPECT_FALSE(ShareBlockExists());

    ASSERT_TRUE(StopDriverService());
    ChildProcess withoutDriver;
    bool started = StartAgent(&withoutDriver, " " + BuildInstallDir());
    int code = withoutDriver.wait();
    bool blockLeft = ShareBlockExists();
    int windows = CountAgentWindows();
    ASSERT_TRUE(StartDriverService());
    ASSERT_TRUE(started);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(blockLeft);
    EXPECT_EQ(windows, 0);
}

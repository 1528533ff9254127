// The F10 cursor-centring hook, end to end: real key presses from xdotool into
// a window of another process, the real X pointer read back.
#include <gtest/gtest.h>

#include "key_window.h"
#include "link_fixture.h"
#include "xdo.h"

class CursorHook : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        if (HasFatalFailure()) return;
        installHooks = Bind<InstallHooksProc>("InstallHooks");
        removeHooks = Bind<RemoveHooksProc>("RemoveHooks");
        block.data->cursorCenterEnabled = 1;
        ASSERT_TRUE(installHooks && installHooks());
        ASSERT_TRUE(window.Start()) << "the key window did not come up";
    }
    void TearDown() override
    {
        window.Close();
        if (removeHooks) removeHooks();
        LinkFixture::TearDown();
    }
    // Presses the keys with the pointer elsewhere; returns where the pointer ends.
    POINT Press(const std::string &keys)
    {
        POINT where = {-1, -1};
        LONG ups = window.report->f10Ups;
        EXPECT_TRUE(window.MovePointer(100, 100));
        EXPECT_TRUE(Xdo("key " + keys));
        EXPECT_TRUE(WaitForCount(&window.report->f10Ups, ups + 1)) << "F10 did not reach the window";
        EXPECT_TRUE(PointerLocation(&where));
        return where;
    }

    InstallHooksProc installHooks = nullptr;
    RemoveHooksProc removeHooks = nullptr;
    KeyWindow window;
};

struct KeyCase {
    const char *keys;
    uint8_t option;
    bool centres;
};

static const KeyCase kKeyCases[] = {
    {"F10", 1, true},        {"shift+F10", 1, true}, {"ctrl+F10", 1, true},
    {"F10", 0, false},       {"F10", 2, false},      {"shift+F10", 255, false},
};

TEST_F(CursorHook, F10CentresTheCursorWhileTheOptionIsExactlyOne)
{
    ASSERT_EQ(window.report->screenWidth, 1024);
    ASSERT_EQ(window.report->screenHeight, 768);
    LONG downs = 0;
    for (const KeyCase &c : kKeyCases) {
        SCOPED_TRACE(testing::Message() << c.keys << " with option " << int(c.option));
        block.data->cursorCenterEnabled = c.option;
        POINT where = Press(c.keys);
        POINT expected = c.centres ? POINT{512, 384} : POINT{100, 100};
        EXPECT_EQ(where.x, expected.x);
        EXPECT_EQ(where.y, expected.y);
        EXPECT_EQ(window.report->f10Downs, ++downs) << "the keystroke goes on to the window";
        if (c.centres) {
            EXPECT_EQ(window.report->cursorAtF10.x, 512) << "moved before the window saw the key";
        }
    }
}

TEST_F(CursorHook, HookDrawsTheLibraryIntoTheFocusedProcess)
{
    Press("F10");
    EXPECT_EQ(window.report->linkLoaded, 1);
    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    const TavrenOpener *opener = FindOpener(record, window.process.id);
    ASSERT_NE(opener, nullptr) << "the attach in the window's process opened the device";
    EXPECT_EQ(opener->creates, 1u);
    EXPECT_EQ(opener->requests[1] + opener->requests[2] + opener->requests[3] + opener->requests[4], 0u)
        << "a process that only runs the hook sends nothing";
}

TEST_F(CursorHook, HeldF10MovesTheCursorOnce)
{
    LONG downs = window.report->f10Downs, repeats = window.report->f10Repeats;
    ASSERT_TRUE(window.MovePointer(100, 100));
    ASSERT_TRUE(Xdo("keydown F10"));
    ASSERT_TRUE(WaitForCount(&window.report->f10Downs, downs + 1));
    POINT where;
    ASSERT_TRUE(PointerLocation(&where));
    EXPECT_EQ(where.x, 512);
    ASSERT_TRUE(window.MovePointer(200, 200));
    bool repeated = WaitForCount(&window.report->f10Repeats, repeats + 3, 5000);
    LONG ups = window.report->f10Ups;
    ASSERT_TRUE(Xdo("keyup F10"));
    ASSERT_TRUE(WaitForCount(&window.report->f10Ups, ups + 1));
    ASSERT_TRUE(repeated) << "the display sent no key repeats";
    ASSERT_TRUE(PointerLocation(&where));
    EXPECT_EQ(where.x, 200) << "a repeat or the key-up moved the cursor";
    EXPECT_EQ(where.y, 200);
}

TEST_F(CursorHook, InstallTwiceLeavesOneHookThatRemoveTakesAway)
{
    uint32_t first = block.data->hookHandle;
    ASSERT_NE(first, 0u);
    EXPECT_EQ(installHooks(), 1);
    EXPECT_EQ(block.data->hookHandle, first);

    EXPECT_EQ(removeHooks(), 1);
    EXPECT_EQ(block.data->hookHandle, 0u);
    EXPECT_EQ(removeHooks(), 1);

    POINT where = Press("F10");
    EXPECT_EQ(where.x, 100) << "a second hook is still installed";
    EXPECT_EQ(where.y, 100);
}

// The hook installed by another process of the session, which keeps it until
// the test lets it go; the key window it starts lives on the same desktop.
CHILD_ROLE(hook_owner)
{
    HMODULE link = LoadLibraryA(LinkDllPath().c_str());
    if (!link) return 1;
    auto install = BindProc<InstallHooksProc>(link, "InstallHooks");
    auto remove = BindProc<RemoveHooksProc>(link, "RemoveHooks");
    if (!install || !install()) return 2;
    KeyWindow window;
    if (argument == "with-window" && !window.Start()) return 3;
    RaiseSignal("hook_owner.ready");
    if (!WaitSignal("hook_owner.finish", 60000)) return 4;
    window.Close();
    return remove() ? 0 : 5;
}

class HookOwnedElsewhere : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(block.ok());
        block.data->cursorCenterEnabled = 1;
    }
    // Starts the owner, on another desktop when `desktop` is given.
    void StartOwner(const std::string &desktop, const std::string &argument)
    {
        std::string line = "\"" + ThisExePath() + "\" --child hook_owner " + argument;
        if (!desktop.empty()) line = "explorer.exe /desktop=" + desktop + " " + line;
        ASSERT_TRUE(StartProgram(line));
        ASSERT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0) << "the hook owner did not come up";
    }
    void TearDown() override
    {
        SetEvent(finish);
        for (int i = 0; i < 100 && block.data->hookHandle; ++i) Sleep(50);
        EXPECT_EQ(block.data->hookHandle, 0u) << "the owner removed its hook";
        CloseHandle(ready);
        CloseHandle(finish);
    }

    ShareBlock block{LinkDllPath()};
    HANDLE ready = CreateSignal("hook_owner.ready");
    HANDLE finish = CreateSignal("hook_owner.finish");
};

// Where the key window of another process reports.
static KeyWindowReport *OpenKeyWindowReport(HANDLE *mapping)
{
    *mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, "PtrTestKeyWindowReport");
    return *mapping ? static_cast<KeyWindowReport *>(MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
}

CHILD_ROLE(report_screen_size) { return GetSystemMetrics(SM_CXSCREEN) * 10000 + GetSystemMetrics(SM_CYSCREEN); }

// A virtual desktop leaves its size to the whole session when it ends; one of
// the display's own size puts the session's screen back.
static int RestoreScreenSize()
{
    std::string line = "explorer.exe /desktop=PtrRestore,1024x768 \"" + ThisExePath() + "\" --child report_screen_size";
    RunProgram(line);
    for (int i = 0; i < 50; ++i) {
        int size = RunChild("report_screen_size");
        if (size == 1024 * 10000 + 768) return size;
        Sleep(100);
    }
    return RunChild("report_screen_size");
}

TEST_F(HookOwnedElsewhere, OddScreenSizeRoundsTheCentreDown)
{
    struct Restore {
        ~Restore() { EXPECT_EQ(RestoreScreenSize(), 1024 * 10000 + 768) << "the session's screen size"; }
    } restore;
    StartOwner("PtrOdd,1023x767", "with-window");
    HANDLE mapping;
    KeyWindowReport *report = OpenKeyWindowReport(&mapping);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(report->screenWidth, 1023);
    ASSERT_EQ(report->screenHeight, 767);
    ASSERT_TRUE(Xdo("key F10"));
    EXPECT_TRUE(WaitForCount(&report->f10Ups, 1)) << "F10 did not reach the window";
    EXPECT_EQ(report->f10Downs, 1);
    // The virtual desktop lies at the display's origin. Its processes learn of
    // the cursor's new place a little later than the display does.
    POINT where = {-1, -1};
    PointerLocation(&where);
    EXPECT_EQ(where.x, 511);
    EXPECT_EQ(where.y, 383);
    EXPECT_EQ(report->linkLoaded, 1);
    UnmapViewOfFile(report);
    CloseHandle(mapping);
}

TEST_F(HookOwnedElsewhere, ProcessWithoutDriverDoesNotRunTheHook)
{
    StartOwner("", "");
    ASSERT_TRUE(StopDriverService());
    KeyWindow window;
    bool started = window.Start();
    bool pressed = started && Xdo("key F10") && WaitForCount(&window.report->f10Ups, 1);
    POINT where = {-1, -1};
    PointerLocation(&where);
    ASSERT_TRUE(StartDriverService());
    ASSERT_TRUE(started);
    ASSERT_TRUE(pressed) << "F10 did not reach the window";
    EXPECT_EQ(window.report->linkLoaded, 0) << "the library loaded without a driver";
    EXPECT_EQ(where.x, 100);
    EXPECT_EQ(where.y, 100);
    EXPECT_TRUE(window.process.running()) << "the window's process broke";

    // With the driver back, the same process takes the library and the hook acts.
    ASSERT_TRUE(window.MovePointer(100, 100));
    ASSERT_TRUE(Xdo("key F10"));
    ASSERT_TRUE(WaitForCount(&window.report->f10Ups, 2));
    EXPECT_EQ(window.report->linkLoaded, 1);
    EXPECT_EQ(window.report->cursorAtF10.x, 512);
    EXPECT_TRUE(window.Close());
}

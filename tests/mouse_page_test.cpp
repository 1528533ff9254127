// The mouse page in the Mouse control panel, with an agent resident: driven
// with real clicks and read back from this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "machine_registry.h"
#include "message_boxes.h"
#include "mouse_page_fixture.h"
#include "xdo.h"

TEST_F(MousePage, ReplacesTheButtonsPage)
{
    Open();
    char text[64] = "";
    GetWindowTextA(panel.page, text, sizeof(text));
    EXPECT_STREQ(text, "NELVO");
    HWND tabs = FindWindowExA(panel.sheet, NULL, WC_TABCONTROLA, NULL);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2) << "the Motion page stays";
    EXPECT_FALSE(panel.ApplyEnabled());
}

struct DriverCase {
    const char *name;
    uint8_t valid, buttons, stored;
    uint8_t mode;       // threeButtonMode after opening
    bool boxEnabled;
};

TEST_F(MousePage, DriverAnswerFixesTheThreeButtonMode)
{
    const DriverCase cases[] = {
        {"two buttons", 1, 2, 1, 0, false},
        {"three buttons", 1, 3, 0, 1, false},
        {"no valid answer", 0, 3, 1, 1, true},
    };
    for (const DriverCase &c : cases) {
        SCOPED_TRACE(c.name);
        block->data->threeButtonMode = c.stored;
        Open(c.valid, c.buttons);
        EXPECT_EQ(block->data->threeButtonMode, c.mode) << "written at once, before any apply";
        EXPECT_EQ(Checked(1025), c.mode == 1);
        EXPECT_EQ(Enabled(1025), c.boxEnabled);
        EXPECT_EQ(Enabled(1000), c.mode == 1) << "the middle combo";
        EXPECT_EQ(Enabled(1032), c.mode == 1) << "its label";
        ASSERT_TRUE(panel.Press(IDCANCEL));
        ASSERT_TRUE(panel.WaitClosed());
        panel = ControlPanel();
    }
}

TEST_F(MousePage, LeftHandLayoutAndTheSwap)
{
    block->data->swapButtons = 1;
    block->data->secondAction = ACTION_START;
    Open();
    EXPECT_TRUE(Checked(1026));
    EXPECT_EQ(Selection(1024), ACTION_START);
    EXPECT_EQ(Selection(1022), 0);
    EXPECT_TRUE(Enabled(1024));
    EXPECT_TRUE(Enabled(1034));
    EXPECT_FALSE(Enabled(1022));
    EXPECT_FALSE(Enabled(1033));

    ASSERT_TRUE(panel.Click(1026, 5));
    EXPECT_FALSE(Checked(1026));
    EXPECT_EQ(Selection(1022), ACTION_START) << "the selection moves to the right combo";
    EXPECT_EQ(Selection(1024), 0);
    EXPECT_TRUE(Enabled(1022));
    EXPECT_FALSE(Enabled(1024));
    EXPECT_TRUE(panel.ApplyEnabled());

    ASSERT_TRUE(panel.Press(0x3021));
    panel.Settle();
    EXPECT_EQ(block->data->swapButtons, 0);
    EXPECT_EQ(block->data->secondAction, ACTION_START);
}

TEST_F(MousePage, WorksOnTheBlockAnAgentLeftBehind)
{
    CloseAllAgents();  // this process still holds the block
    ASSERT_EQ(block->data->statusEnabled, 0);
    Open();
    ASSERT_TRUE(ResetDriver());
    ASSERT_TRUE(panel.Click(1027, 5));
    ASSERT_TRUE(panel.Press(0x3021));
    panel.Settle();
    EXPECT_EQ(block->data->cursorCenterEnabled, 1);
    EXPECT_EQ(block->data->statusEnabled, 0);
    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    ASSERT_EQ(record.statusCount, 1u);
    EXPECT_EQ(record.status[3], 0) << "the driver hears that no agent runs";
}

TEST(ControlPanelAlone, WithoutAgentItKeepsItsOwnButtonsPage)
{
    CloseAllAgents();
    ASSERT_FALSE(ShareBlockExists());
    SheetRegistration registration(SheetDllPath());
    ASSERT_TRUE(registration.ok);
    ControlPanel panel;
    ASSERT_TRUE(panel.OpenSheet());
    EXPECT_TRUE(panel.ShowsOwnButtonsPage()) << "the control panel's own Buttons page";
    HWND page = FindWindowExA(panel.sheet, NULL, "#32770", NULL);
    EXPECT_EQ(page ? GetDlgItem(page, 1030) : nullptr, nullptr) << "no mouse page";
    EXPECT_FALSE(ShareBlockExists()) << "the refused extension left no block behind";
    ASSERT_TRUE(panel.Press(IDCANCEL));
    EXPECT_TRUE(panel.WaitClosed());
}

TEST_F(MousePage, TrackbarsShowTheBlock)
{
    block->data->doubleClickTime = 500;
    block->data->sensitivity = 65;
    block->data->acceleration = 2;
    Open();
    const struct {
        int id, minimum, maximum, position;
    } bars[] = {{1029, 1, 20, 6}, {1030, 100, 900, 500}, {1031, 0, 3, 2}};
    for (const auto &b : bars) {
        SCOPED_TRACE(b.id);
        EXPECT_EQ(SendMessageA(panel.Item(b.id), TBM_GETRANGEMIN, 0, 0), b.minimum);
        EXPECT_EQ(SendMessageA(panel.Item(b.id), TBM_GETRANGEMAX, 0, 0), b.maximum);
        EXPECT_EQ(Position(b.id), b.position);
    }
}

TEST_F(MousePage, ApplyStoresSendsAndSaves)
{
    block->data->doubleClickTime = 500;
    block->data->threeButtonMode = 1;
    Open();
    ASSERT_TRUE(ResetDriver());
    ASSERT_TRUE(panel.Click(1027, 5));  // "Where is Cursor ?"
    ASSERT_TRUE(panel.Click(1026, 5));  // "Left Hand User"
    EXPECT_TRUE(panel.ApplyEnabled());
    ASSERT_TRUE(panel.Press(0x3021));
    panel.Settle();

    EXPECT_EQ(block->data->cursorCenterEnabled, 1);
    EXPECT_EQ(block->data->swapButtons, 1);
    EXPECT_EQ(block->data->doubleClickTime, 500u);
    EXPECT_EQ(block->data->statusEnabled, 1) << "the apply leaves the running flag alone";
    TavrenRecord record;
    ASSERT_TRUE(ReadDriver(&record));
    const TavrenOpener *opener = FindOpener(record, panel.process.id);
    ASSERT_NE(opener, nullptr);
    EXPECT_EQ(opener->requests[2], 1u) << "the control panel's own request 2";
    EXPECT_EQ(record.status[2], 1) << "the driver has the swap";

    const struct {
        const char *name, *text;
    } values[] = {{"Middle Button", "(Unassigned)"}, {"Second Button", "(Unassigned)"}, {"SwapMouseButtons", "1"},
                  {"DoubleClickSpeed", "500"},       {"Sensivity", "60"},               {"Acceleration", "1"},
                  {"Three Key", "1"},                {"Cursor Center", "1"}};
    for (const auto &v : values) {
        RawValue stored = ReadRawValue(v.name);
        EXPECT_TRUE(stored.present) << v.name;
        EXPECT_EQ(stored.bytes.substr(0, strlen(v.text) + 1), std::string(v.text, strlen(v.text) + 1)) << v.name;
    }
    SystemMouse system = SystemMouseSeenElsewhere();
    EXPECT_TRUE(system.swapped);
    EXPECT_EQ(system.doubleClickTime, 500u);
    EXPECT_FALSE(panel.ApplyEnabled());
}

TEST_F(MousePage, CancelWritesNothing)
{
    Open();
    uint8_t before[PTR_SHARE_SIZE];
    std::memcpy(before, block->bytes(), sizeof(before));
    ASSERT_TRUE(panel.Click(1027, 5));
    ASSERT_TRUE(panel.Click(1026, 5));
    ASSERT_TRUE(panel.Press(IDCANCEL));
    ASSERT_TRUE(panel.WaitClosed());
    EXPECT_EQ(std::memcmp(before, block->bytes(), sizeof(before)), 0);
    EXPECT_FALSE(SettingsKeyExists() && ReadRawValue("Cursor Center").present);
}

TEST_F(MousePage, OnlyRealChangesEnableApply)
{
    block->data->threeButtonMode = 1;
    block->data->acceleration = 0;
    Open();
    // Opening the middle combo and closing it again on its stored item.
    ASSERT_TRUE(panel.Click(1000));
    ASSERT_TRUE(Xdo("key Escape"));
    Sleep(100);
    panel.Settle();
    EXPECT_FALSE(panel.ApplyEnabled());

    // A click on a trackbar's thumb, without moving it: the acceleration
    // thumb stands at the left end of its channel.
    ASSERT_EQ(Position(1031), 0);
    RECT bar;
    GetClientRect(panel.Item(1031), &bar);
    ASSERT_TRUE(panel.Click(1031, 12, bar.bottom / 3));
    EXPECT_EQ(Position(1031), 0);
    EXPECT_TRUE(panel.ApplyEnabled());
}

// The text of a message box of another process that names `file`, or "".
struct FoundBox {
    const char *file;
    HWND box = nullptr;
    std::string text;
};

static BOOL CALLBACK FindTextChild(HWND child, LPARAM value)
{
    auto *found = reinterpret_cast<FoundBox *>(value);
    char text[512] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (strstr(text, found->file)) {
        found->text = text;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK FindBoxNaming(HWND window, LPARAM value)
{
    auto *found = reinterpret_cast<FoundBox *>(value);
    if (!IsWindowVisible(window)) return TRUE;
    EnumChildWindows(window, FindTextChild, value);
    if (!found->text.empty()) {
        found->box = window;
        return FALSE;
    }
    return TRUE;
}

static FoundBox WaitForBoxNaming(const char *file)
{
    FoundBox found;
    found.file = file;
    for (int i = 0; i < 200 && !found.box; ++i) {
        EnumWindows(FindBoxNaming, reinterpret_cast<LPARAM>(&found));
        if (!found.box) Sleep(50);
    }
    return found;
}

TEST_F(MousePage, HelpOpensTheFileBesideTheLibrary)
{
    const struct {
        const char *libraryPath, *help;
    } cases[] = {
        {"C:\\DRV\\ptrlink.dll", "C:\\DRV\\tavren.hlp"},
        {"ptrlink.dll", "\\tavren.hlp"},
    };
    Open();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.libraryPath);
        // The page reads the path when the button is pressed.
        char saved[PTR_LIBRARY_PATH_SIZE];
        std::memcpy(saved, block->data->libraryPath, sizeof(saved));
        std::memset(block->data->libraryPath, 0, sizeof(saved));
        std::strcpy(block->data->libraryPath, c.libraryPath);
        ASSERT_TRUE(panel.Click(1028));
        FoundBox box = WaitForBoxNaming(c.help);
        std::memcpy(block->data->libraryPath, saved, sizeof(saved));
        ASSERT_NE(box.box, nullptr) << "no box of the help viewer names " << c.help;
        // Answer it with No (or Cancel, or OK, whichever the box has): the
        // viewer then gives up and ends.
        DWORD viewerId = 0;
        GetWindowThreadProcessId(box.box, &viewerId);
        HANDLE viewer = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, viewerId);
        for (int answer : {IDNO, IDCANCEL, IDOK})
            if (HWND button = GetDlgItem(box.box, answer)) {
                PostMessageA(box.box, WM_COMMAND, WPARAM(answer), LPARAM(button));
                break;
            }
        for (int i = 0; i < 100 && IsWindow(box.box); ++i) Sleep(50);
        EXPECT_FALSE(IsWindow(box.box));
        if (viewer && WaitForSingleObject(viewer, 5000) != WAIT_OBJECT_0) TerminateProcess(viewer, 0);
        if (viewer) CloseHandle(viewer);
    }
}

TEST_F(MousePage, PictureShowsTheHeldButtons)
{
    Open();
    ButtonPictureOnScreen picture(panel.Item(111));
    ASSERT_EQ(picture.HeldOnScreen(), 0);
    EXPECT_FALSE(picture.AnyKeyColour(panel.page)) << "the key colour shows on the page";
    // The pictures sit on the page: its key colour shows the page's own background.
    RECT page;
    GetWindowRect(panel.page, &page);
    HDC screen = GetDC(NULL);
    COLORREF background = GetPixel(screen, page.left + 3, page.top + 3);
    ReleaseDC(NULL, screen);
    EXPECT_EQ(picture.KeyPixelsNotIn(background), 0u) << "key-colour pixels that do not show the page's background";
    EXPECT_GT(picture.compared, 2000u) << picture.compared;

    RECT r;
    GetWindowRect(panel.Item(111), &r);
    ASSERT_TRUE(MovePointer(r.right - 20, r.bottom - 10));  // over the picture, beside the mouse
    const struct {
        const char *action;
        int mask;
    } steps[] = {{"mousedown 1", 1}, {"mousedown 3", 5}, {"mouseup 1", 4}, {"mouseup 3", 0},
                 {"keydown shift mousedown 1", 1}, {"mouseup 1 keyup shift", 0},
                 {"keydown ctrl mousedown 3", 4},  {"mouseup 3 keyup ctrl", 0}};
    for (const auto &step : steps) {
        SCOPED_TRACE(step.action);
        ASSERT_TRUE(Xdo(step.action));
        int shown = -2;
        for (int i = 0; i < 50 && (shown = picture.HeldOnScreen()) != step.mask; ++i) Sleep(20);
        EXPECT_EQ(shown, step.mask);
    }
    EXPECT_FALSE(picture.AnyKeyColour(panel.page));

    // Over an enabled control the control takes the press.
    RECT help;
    GetWindowRect(panel.Item(1028), &help);
    ASSERT_TRUE(MovePointer((help.left + help.right) / 2, (help.top + help.bottom) / 2));
    ASSERT_TRUE(Xdo("mousedown 1"));
    Sleep(300);
    EXPECT_EQ(picture.HeldOnScreen(), 0);
    ASSERT_TRUE(MovePointer(help.right + 60, help.bottom + 40));  // off the button: no click
    ASSERT_TRUE(Xdo("mouseup 1"));
}

TEST_F(MousePage, DoubleClicksInTheTestAreaWakeTheCat)
{
    Open();
    HWND frame = panel.Item(1035);
    HICON idle = reinterpret_cast<HICON>(SendMessageA(panel.Item(1036), STM_GETICON, 0, 0));
    RECT r;
    GetWindowRect(frame, &r);
    auto doubleClick = [&](int x, int y, int button) {
        EXPECT_TRUE(MovePointer(x, y));
        EXPECT_TRUE(Xdo("click --repeat 2 --delay 60 " + std::to_string(button)));
        Sleep(200);
        panel.Settle();
        return reinterpret_cast<HICON>(SendMessageA(panel.Item(1036), STM_GETICON, 0, 0));
    };
    EXPECT_EQ(TestIconOnScreen(panel.Item(1036), 104), 104);
    HICON awake = doubleClick(r.left + 3, r.top + 3, 1);
    EXPECT_NE(awake, idle) << "the first double click inside";
    EXPECT_EQ(TestIconOnScreen(panel.Item(1036), 105), 105);
    EXPECT_EQ(doubleClick(r.right + 4, r.top + 3, 1), awake) << "outside the frame";
    EXPECT_EQ(doubleClick(r.right, r.top + 3, 1), awake) << "the right edge lies outside";
    EXPECT_EQ(doubleClick(r.left + 3, r.bottom, 1), awake) << "the bottom edge lies outside";
    EXPECT_EQ(doubleClick(r.left + 3, r.top + 3, 3), awake) << "a right double click";
    EXPECT_EQ(doubleClick(r.left + 3, r.top + 3, 2), awake) << "a middle double click";
    EXPECT_NE(doubleClick(r.left, r.top, 1), awake) << "the left and top edges count";
    EXPECT_EQ(TestIconOnScreen(panel.Item(1036), 104), 104);
}

TEST_F(MousePage, TheTestAreaTriesTheAppliedSpeed)
{
    // The slowest speed in force and on the slider.
    ASSERT_TRUE(SetDoubleClickTime(900));
    block->data->doubleClickTime = 900;
    Open();
    ASSERT_EQ(Position(1030), 100);
    HWND frame = panel.Item(1035);
    RECT r;
    GetWindowRect(frame, &r);
    auto icon = [&] { return SendMessageA(panel.Item(1036), STM_GETICON, 0, 0); };
    auto clicks = [&](int delayMs) {
        EXPECT_TRUE(MovePointer(r.left + 4, r.top + 4));
        EXPECT_TRUE(Xdo("click --repeat 2 --delay " + std::to_string(delayMs) + " 1"));
        Sleep(200);
        panel.Settle();
        return icon();
    };
    LRESULT idle = icon();
    LRESULT awake = clicks(400);
    ASSERT_NE(awake, idle) << "two clicks 400 ms apart make a double click at 900 ms";

    // The slider at its fast end, not yet applied: 100 ms would not take them.
    ASSERT_TRUE(panel.Click(1030));
    ASSERT_TRUE(Xdo("key End"));
    Sleep(100);
    panel.Settle();
    ASSERT_EQ(Position(1030), 900);
    EXPECT_EQ(clicks(400), idle) << "the pending position changes nothing yet";

    ASSERT_TRUE(panel.Press(0x3021));
    panel.Settle();
    ASSERT_EQ(block->data->doubleClickTime, 100u);
    EXPECT_EQ(clicks(400), idle) << "at 100 ms they are two single clicks";
    EXPECT_EQ(clicks(30), awake) << "a quick double click still counts";
}

TEST_F(MousePage, UninstallTakesThePackageOutOfTheStartUp)
{
    // The driver's own registration and the Run key come back afterwards as they were.
    SavedKey service(HKEY_LOCAL_MACHINE, kServiceKey, "tavren");
    SavedKey run(HKEY_LOCAL_MACHINE, kRunKey, "Run");
    ASSERT_TRUE(service.ok && run.ok);
    const std::string otherHandler = std::string(kHandlersKey) + "\\PtrTest Other";
    struct Restore {
        const std::string &key;
        ~Restore() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str()); }
    } restore{otherHandler};

    SetRegText(HKEY_LOCAL_MACHINE, kRunKey, "NelvoPtr", "\"C:\\Pointerhub\\ptragent.exe\" C:\\Pointerhub");
    SetRegText(HKEY_LOCAL_MACHINE, kRunKey, "PtrTestOther", "other.exe");
    SetRegText(HKEY_LOCAL_MACHINE, otherHandler, NULL, "{00000000-0000-0000-0000-000000000001}");
    Open();

    // No: nothing changes, and no second question.
    ASSERT_TRUE(panel.Click(1037));
    HWND ask = WaitForBox("uninstall");
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(BoxText(ask), "Do you really want to uninstall the mouse driver ?\n");
    EXPECT_EQ(GetDlgItem(ask, IDCANCEL), nullptr) << "Yes and No only";
    ASSERT_TRUE(Answer(ask, IDNO));
    EXPECT_EQ(WaitForBox("Reboot", 1000), nullptr);
    EXPECT_NE(RegText(HKEY_LOCAL_MACHINE, kRunKey, "NelvoPtr"), "(missing)");
    EXPECT_NE(RegText(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32"), "(missing)");

    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round == 1 ? "first uninstall" : "second uninstall, without a Run key");
        if (round == 2) {
            ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRunKey), ERROR_SUCCESS);
        }
        ASSERT_TRUE(panel.Click(1037));
        ask = WaitForBox("uninstall");
        ASSERT_NE(ask, nullptr);
        ASSERT_TRUE(Answer(ask, IDYES));
        HWND reboot = WaitForBox("Reboot");
        ASSERT_NE(reboot, nullptr);
        EXPECT_EQ(GetDlgItem(reboot, IDCANCEL), nullptr) << "Yes and No only";
        EXPECT_EQ(BoxText(reboot), "The mouse driver is removed. You must reboot your computer to let the change take "
                                   "effect.\n\nDo you want to reboot you computer ?");
        ASSERT_TRUE(Answer(reboot, IDNO));

        EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "NelvoPtr"), "(missing)");
        if (round == 1) {
            EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "PtrTestOther"), "other.exe");
        } else {
            EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kRunKey)) << "the uninstall made a Run key";
        }
        EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, kClassKey), "(missing)");
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, kClassKey)) << "the class key with everything under it";
        EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kHandlerKey), "(missing)");
        EXPECT_NE(RegText(HKEY_LOCAL_MACHINE, otherHandler), "(missing)");
        TavrenRecord record;
        ASSERT_TRUE(ReadDriver(&record));
        EXPECT_EQ(record.requests[4], unsigned(round)) << "request 4, each time";
    }

    // The page stays and still applies.
    ASSERT_TRUE(panel.Click(1027, 5));
    ASSERT_TRUE(panel.Press(0x3021));
    panel.Settle();
    EXPECT_EQ(block->data->cursorCenterEnabled, 1);
}

TEST_F(MousePage, LogoShowsAsItsBitmap)
{
    Open();
    HMODULE sheet = LoadLibraryExA(SheetDllPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(sheet, nullptr);
    HBITMAP logo = LoadBitmapA(sheet, MAKEINTRESOURCEA(102));
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, logo);
    RECT r;
    GetWindowRect(panel.Item(112), &r);
    EXPECT_EQ(r.right - r.left, 121);
    EXPECT_EQ(r.bottom - r.top, 50);
    // With this font the button picture, drawn later in the template's order,
    // covers the logo's right edge.
    RECT picture;
    GetWindowRect(panel.Item(111), &picture);
    HDC screen = GetDC(NULL);
    int different = 0, compared = 0;
    // The sheet may still be painting: the comparison is repeated until it settles.
    for (int attempt = 0; attempt < 40; ++attempt) {
        different = compared = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 121; ++x) {
                POINT at = {r.left + x, r.top + y};
                if (PtInRect(&picture, at)) continue;
                ++compared;
                different += GetPixel(screen, at.x, at.y) != GetPixel(dc, x, y);
            }
        if (!different) break;
        Sleep(50);
    }
    EXPECT_GT(compared, 121 * 50 * 9 / 10);
    ReleaseDC(NULL, screen);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(logo);
    FreeLibrary(sheet);
    EXPECT_EQ(different, 0) << "pixels of the logo on screen differ from bitmap 102";
}

#include "control_panel.h"

#include "machine_registry.h"
#include "test_env.h"
#include "xdo.h"

SheetRegistration::SheetRegistration(const std::string &sheetDll)
{
    std::string server = std::string(kClassKey) + "\\InprocServer32";
    ok = SetRegText(HKEY_CLASSES_ROOT, server, NULL, sheetDll) &&
         SetRegText(HKEY_CLASSES_ROOT, server, "ThreadingModel", "Apartment") &&
         SetRegText(HKEY_LOCAL_MACHINE, kHandlerKey, NULL, "{D4BCF700-791D-11CF-99F9-444553540000}");
}

SheetRegistration::~SheetRegistration()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kHandlerKey);
}

ControlPanel::~ControlPanel()
{
    if (sheet && IsWindow(sheet)) PostMessageA(sheet, WM_CLOSE, 0, 0);
    for (int i = 0; i < 250 && sheet && IsWindow(sheet); ++i) Sleep(20);
}

static BOOL CALLBACK IsMousePage(HWND window, LPARAM found)
{
    if (GetDlgItem(window, 1000) && GetDlgItem(window, 1030)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindMousePage(HWND sheet)
{
    HWND page = nullptr;
    if (sheet) EnumChildWindows(sheet, IsMousePage, reinterpret_cast<LPARAM>(&page));
    return page;
}

bool ControlPanel::Open(int showings)
{
    if (!OpenSheet(showings)) return false;
    return WaitForPage();
}

bool ControlPanel::WaitForPage()
{
    for (int i = 0; i < 250 && !page; ++i) {
        page = FindMousePage(sheet);
        if (!page) Sleep(20);
    }
    if (!page) return false;
    Settle();
    return true;
}

bool ControlPanel::OpenSheet(int showings)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    std::string line = "\"" + WinPath(PTR_TEST_CPL_EXE) + "\" " + std::to_string(showings);
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return false;
    CloseHandle(info.hThread);
    process.process = info.hProcess;
    process.id = info.dwProcessId;
    return WaitForSheet();
}

// The sheet of this control panel's process: one of an earlier test may still be closing.
static HWND SheetOf(DWORD processId)
{
    for (HWND window = FindWindowA(NULL, "Mouse Properties"); window;
         window = FindWindowExA(NULL, window, NULL, "Mouse Properties")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

bool ControlPanel::WaitForSheet()
{
    for (int i = 0; i < 500 && !sheet; ++i) {
        sheet = SheetOf(process.id);
        if (!sheet) Sleep(20);
    }
    return sheet != nullptr;
}

bool ControlPanel::ShowAgain()
{
    HWND old = sheet;
    // A click that the busy sheet missed is given again.
    for (int attempt = 0; attempt < 3 && IsWindow(old); ++attempt) {
        if (!Press(IDCANCEL)) return false;
        for (int i = 0; i < 250 && IsWindow(old); ++i) Sleep(20);
    }
    if (IsWindow(old)) return false;
    sheet = page = nullptr;
    return WaitForSheet() && WaitForPage();
}

bool ControlPanel::ShowsOwnButtonsPage() const
{
    for (int i = 0; i < 100; ++i) {
        HWND own = FindWindowExA(sheet, NULL, "#32770", NULL);
        if (own && FindWindowExA(own, NULL, "Button", "&Right-handed")) return true;
        Sleep(50);
    }
    return false;
}

void ControlPanel::Settle() const
{
    DWORD_PTR result;
    SendMessageTimeoutA(page, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

static bool ClickWindow(HWND window, int dx, int dy)
{
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return false;
    int x = dx >= 0 ? r.left + dx : (r.left + r.right) / 2;
    int y = dy >= 0 ? r.top + dy : (r.top + r.bottom) / 2;
    return MovePointer(x, y) && Xdo("click 1");
}

bool ControlPanel::Click(int id, int dx, int dy) const
{
    bool clicked = ClickWindow(Item(id), dx, dy);
    Sleep(100);
    Settle();
    return clicked;
}

bool ControlPanel::Press(int sheetButton) const
{
    bool clicked = ClickWindow(GetDlgItem(sheet, sheetButton), -1, -1);
    Sleep(100);
    return clicked;
}

// Pointerhub's cost figures, each against a baseline measured in the same run:
// a keystroke through the F10 hook against a bare hook, a load of ptrlink.dll
// against an empty DLL, the resident agent's memory against an idle program,
// the opening of the mouse page against the control panel's own page, and the
// module sizes.
#define CINTERFACE
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "control_panel.h"
#include "ptrlink_exports.h"
#include "share_block.h"
#include "test_env.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string BenchDll(const char *name) { return WinPath(PTR_BENCH_DIR) + "\\" + name; }

// Seconds per LoadLibraryA + FreeLibrary.
double LoadUnload(const std::string &path, int count)
{
    double start = Now();
    for (int i = 0; i < count; ++i) {
        HMODULE module = LoadLibraryA(path.c_str());
        if (!module) return -1;
        FreeLibrary(module);
    }
    return (Now() - start) / count;
}

HWND focusWindow;
volatile LONG keyUps;

LRESULT CALLBACK FocusProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYUP) ++keyUps;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateFocusWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FocusProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "PtrBenchFocus";
    RegisterClassA(&windowClass);
    focusWindow = CreateWindowExA(0, "PtrBenchFocus", "PtrBenchFocus", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL,
                                  NULL, windowClass.hInstance, NULL);
    if (!focusWindow) return false;
    SetForegroundWindow(focusWindow);
    SetFocus(focusWindow);
    return true;
}

// Seconds per keystroke (down and up of a key that is not F10), from the input
// queue through the keyboard hooks to the focused window.
double Keystrokes(int count)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = 'A';
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    LONG target = keyUps;
    double start = Now();
    for (int i = 0; i < count; ++i) {
        SendInput(2, input, sizeof(INPUT));
        ++target;
        MSG message;
        while (keyUps < target && GetMessageA(&message, NULL, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return (Now() - start) / count;
}

// Memory of a resident process, once it has settled.
struct Memory {
    double workingSet;
};

bool Resident(const std::string &commandLine, const char *windowClass, Memory *memory)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    std::string line = commandLine;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) return false;
    CloseHandle(info.hThread);
    HWND window = NULL;
    for (int i = 0; i < 500 && !window; ++i) {
        window = FindWindowA(windowClass, NULL);
        if (!window) Sleep(20);
    }
    Sleep(500);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    bool measured = window && GetProcessMemoryInfo(info.hProcess, &counters,
                                                   sizeof(counters));
    memory->workingSet = double(counters.WorkingSetSize);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    return measured;
}

INT_PTR CALLBACK PlainPageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// A modeless sheet with one page; it exists once its first page has run WM_INITDIALOG.
HWND CreateSheet(HPROPSHEETPAGE page)
{
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS;
    header.pszCaption = "Mouse Properties";
    header.nPages = 1;
    header.phpage = &page;
    return reinterpret_cast<HWND>(PropertySheetA(&header));
}

// Shows the page in a sheet of its own, painted once, then destroyed.
double ShowSheet(HPROPSHEETPAGE page)
{
    HWND sheet = CreateSheet(page);
    if (!sheet) return -1;
    UpdateWindow(sheet);
    RedrawWindow(sheet, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    DestroyWindow(sheet);
    return 0;
}

BOOL CALLBACK TakePage(HPROPSHEETPAGE page, LPARAM value)
{
    *reinterpret_cast<HPROPSHEETPAGE *>(value) = page;
    return TRUE;
}

typedef HRESULT(STDAPICALLTYPE *GetClassObjectProc)(REFCLSID, REFIID, void **);

// One ShowButtonPicture (a button message to the page: load, compose, set)
// against a plain LoadBitmapA + STM_SETIMAGE of the same picture.
bool ButtonPictureCost(IShellPropSheetExt *ext, HMODULE sheetDll, double *picture, double *plain)
{
    HPROPSHEETPAGE page = NULL;
    ext->lpVtbl->ReplacePage(ext, 1, reinterpret_cast<LPFNSVADDPROPSHEETPAGE>(TakePage), reinterpret_cast<LPARAM>(&page));
    HWND sheet = CreateSheet(page);
    if (!sheet) return false;
    ShowWindow(sheet, SW_SHOW);
    UpdateWindow(sheet);
    HWND mousePage = FindMousePage(sheet);
    if (!mousePage) return false;
    RedrawWindow(mousePage, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND control = GetDlgItem(mousePage, 111);
    std::vector<double> pictureTimes, plainTimes;
    for (int round = 0; round < 7; ++round) {
        const int count = 200;
        double start = Now();
        for (int i = 0; i < count; ++i)
            SendMessageA(mousePage, i % 2 ? WM_LBUTTONUP : WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
        pictureTimes.push_back((Now() - start) / count);
        start = Now();
        for (int i = 0; i < count; ++i) {
            HBITMAP bitmap = LoadBitmapA(sheetDll, MAKEINTRESOURCEA(i % 2 ? 103 : 104));
            HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
                SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
            if (previous && i) DeleteObject(previous);
        }
        plainTimes.push_back((Now() - start) / count);
    }
    DestroyWindow(sheet);
    *picture = Median(pictureTimes);
    *plain = Median(plainTimes);
    return true;
}

// The extension's page (ReplacePage, the driver probe included) against the
// control panel's own Buttons page, each shown in a sheet of its own.
bool PageOpening(double *extension, double *own, double *bareTemplate, double *picture, double *plainPicture)
{
    static const GUID sheetClass = {0xD4BCF700, 0x791D, 0x11CF, {0x99, 0xF9, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
    HMODULE sheetDll = LoadLibraryA(WinPath(PTR_BENCH_SHEET).c_str());
    HMODULE panel = LoadLibraryExA(WinPath(PTR_BENCH_CPL).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!sheetDll || !panel) return false;
    auto getClassObject = BindProc<GetClassObjectProc>(sheetDll, "DllGetClassObject");
    void *object = NULL;
    if (!getClassObject || FAILED(getClassObject(sheetClass, IID_IClassFactory, &object))) return false;
    IClassFactory *factory = static_cast<IClassFactory *>(object);
    if (FAILED(factory->lpVtbl->CreateInstance(factory, NULL, IID_IShellPropSheetExt, &object))) return false;
    IShellPropSheetExt *ext = static_cast<IShellPropSheetExt *>(object);

    std::vector<double> extensionTimes, ownTimes, templateTimes;
    for (int i = 0; i < 21; ++i) {
        double start = Now();
        HPROPSHEETPAGE page = NULL;
        ext->lpVtbl->ReplacePage(ext, 1, reinterpret_cast<LPFNSVADDPROPSHEETPAGE>(TakePage),
                                 reinterpret_cast<LPARAM>(&page));
        if (!page || ShowSheet(page) < 0) return false;
        extensionTimes.push_back(Now() - start);

        start = Now();
        PROPSHEETPAGEA plain = {};
        plain.dwSize = sizeof(plain);
        plain.hInstance = panel;
        plain.pszTemplate = MAKEINTRESOURCEA(100);  // the control panel's Buttons page
        plain.pfnDlgProc = PlainPageProc;
        if (ShowSheet(CreatePropertySheetPageA(&plain)) < 0) return false;
        ownTimes.push_back(Now() - start);

        // Template 201 alone, without the page's own work, to tell the two apart.
        start = Now();
        plain.hInstance = sheetDll;
        plain.pszTemplate = MAKEINTRESOURCEA(201);
        if (ShowSheet(CreatePropertySheetPageA(&plain)) < 0) return false;
        templateTimes.push_back(Now() - start);
    }
    if (!ButtonPictureCost(ext, sheetDll, picture, plainPicture)) return false;
    ext->lpVtbl->Release(ext);
    factory->lpVtbl->Release(factory);
    *extension = Median(extensionTimes);
    *own = Median(ownTimes);
    *bareTemplate = Median(templateTimes);
    return true;
}

long FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return long(data.nFileSizeLow);
}

} // namespace

int main()
{
    const int rounds = 7;
    ShareBlock block(LinkDllPath());
    if (!block.ok()) return 1;

    // Loading: nothing else holds either library, so every FreeLibrary unloads.
    std::vector<double> linkLoads, emptyLoads;
    for (int r = 0; r < rounds; ++r) {
        emptyLoads.push_back(LoadUnload(BenchDll("empty_dll.dll"), 200));
        linkLoads.push_back(LoadUnload(LinkDllPath(), 200));
    }
    double linkLoad = Median(linkLoads), emptyLoad = Median(emptyLoads);
    if (linkLoad < 0 || emptyLoad < 0) {
        std::printf("load failed\n");
        return 1;
    }

    // Keystrokes: the F10 hook (option on, so that it reads the block) against the bare hook.
    HMODULE link = LoadLibraryA(LinkDllPath().c_str());
    HMODULE bare = LoadLibraryA(BenchDll("bare_hook.dll").c_str());
    if (!link || !bare || !CreateFocusWindow()) return 1;
    auto installHooks = BindProc<InstallHooksProc>(link, "InstallHooks");
    auto removeHooks = BindProc<RemoveHooksProc>(link, "RemoveHooks");
    auto installBare = BindProc<InstallHooksProc>(bare, "InstallBareHook");
    auto removeBare = BindProc<RemoveHooksProc>(bare, "RemoveBareHook");
    block.data->cursorCenterEnabled = 1;
    Keystrokes(200);  // warm up the queue and the window
    std::vector<double> hookKeys, bareKeys;
    for (int r = 0; r < rounds; ++r) {
        installBare();
        bareKeys.push_back(Keystrokes(1000));
        removeBare();
        installHooks();
        hookKeys.push_back(Keystrokes(1000));
        removeHooks();
    }
    double hookKey = Median(hookKeys), bareKey = Median(bareKeys);

    std::printf("keystroke through CenterCursorHookProc: %.2f us, bare hook: %.2f us, ratio %.3f (goal <= 1.05)\n",
                hookKey * 1e6, bareKey * 1e6, hookKey / bareKey);
    std::printf("load+unload ptrlink.dll: %.1f us, empty DLL: %.1f us, ratio %.2f\n", linkLoad * 1e6,
                emptyLoad * 1e6, linkLoad / emptyLoad);
    double extensionPage = 0, ownPage = 0, bareTemplate = 0, picture = 0, plainPicture = 0;
    if (!PageOpening(&extensionPage, &ownPage, &bareTemplate, &picture, &plainPicture)) {
        std::printf("the pages could not be opened\n");
        return 1;
    }

    // The agent of this build, resident, against the idle program. Wine counts
    // no private bytes, so the figure is the working set (resident pages).
    std::string installDir = LinkDllPath().substr(0, LinkDllPath().rfind('\\'));
    std::vector<double> agentSet, idleSet;
    for (int r = 0; r < 3; ++r) {
        Memory agent, idle;
        if (!Resident("\"" + WinPath(PTR_BENCH_AGENT) + "\" " + installDir, "myMouseDialog", &agent) ||
            !Resident("\"" + BenchDll("idle_window.exe") + "\"", "PtrBenchIdle", &idle)) {
            std::printf("resident memory could not be measured\n");
            return 1;
        }
        agentSet.push_back(agent.workingSet);
        idleSet.push_back(idle.workingSet);
    }
    std::printf("agent resident: working set %.0f KiB, minimal hidden-window program: %.0f KiB, ratio %.3f (goal <= 1.25)\n",
                Median(agentSet) / 1024, Median(idleSet) / 1024, Median(agentSet) / Median(idleSet));
    std::printf("opening the mouse page (ReplacePage to shown, driver probe included): %.2f ms, the control "
                "panel's own Buttons page: %.2f ms, ratio %.2f (goal <= 1.5)\n",
                extensionPage * 1e3, ownPage * 1e3, extensionPage / ownPage);
    std::printf("opening template 201 with a dialog procedure that does nothing: %.2f ms\n", bareTemplate * 1e3);
    std::printf("one ShowButtonPicture (load, compose, set): %.1f us, LoadBitmapA + STM_SETIMAGE: %.1f us, ratio %.2f "
                "(one frame is 16 ms)\n",
                picture * 1e6, plainPicture * 1e6, picture / plainPicture);
    std::printf("ptrlink.dll size: x86_64 %ld bytes, i686 %ld bytes (stripped)\n", FileSize(LinkDllPath()),
                FileSize(LinkDll32Path()));
    return 0;
}

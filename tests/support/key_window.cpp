#include "key_window.h"

#include <cstdio>

#include "xdo.h"

static const char kReportName[] = "PtrTestKeyWindowReport";

static KeyWindowReport *OpenReport(HANDLE *mapping, bool create)
{
    *mapping = create ? CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(KeyWindowReport),
                                           kReportName)
                      : OpenFileMappingA(FILE_MAP_WRITE, FALSE, kReportName);
    if (!*mapping) return nullptr;
    return static_cast<KeyWindowReport *>(MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, 0));
}

KeyWindow::KeyWindow()
{
    report = OpenReport(&mapping, true);
    if (report) ZeroMemory(report, sizeof(*report));
}

KeyWindow::~KeyWindow()
{
    Close();
    if (report) UnmapViewOfFile(report);
    if (mapping) CloseHandle(mapping);
}

bool WaitForCount(volatile LONG *counter, LONG value, DWORD timeoutMs)
{
    for (DWORD waited = 0; *counter < value; waited += 10) {
        if (waited >= timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

bool KeyWindow::Start()
{
    if (!report || !StartChild(&process, "key_window")) return false;
    for (DWORD waited = 0; !report->ready; waited += 10) {
        if (waited > 15000 || !process.running()) {
            fprintf(stderr, "key window: exit code %d\n", process.wait(0));
            return false;
        }
        Sleep(10);
    }
    // Without a window manager the X focus goes where the window asks for it;
    // the pointer is put over the window as well.
    return MovePointer(100, 100);
}

bool KeyWindow::MovePointer(int x, int y)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!::MovePointer(x, y)) return false;
        for (int i = 0; i < 100; ++i) {
            if (report->mouseX == x && report->mouseY == y) return true;
            Sleep(10);
        }
        // A window that sees no motion gets a nudge and the move again.
        ::MovePointer(x + 1, y + 1);
    }
    return false;
}

bool KeyWindow::Close()
{
    if (!process.running()) return true;
    PostMessageA(static_cast<HWND>(ULongToHandle(report->window)), WM_CLOSE, 0, 0);
    return process.wait(10000) == 0;
}

static KeyWindowReport *ownReport;

static void RecordKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wParam != VK_F10) return;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        InterlockedIncrement(&ownReport->f10Ups);
        return;
    }
    ownReport->linkLoaded = GetModuleHandleA("ptrlink.dll") != NULL;
    if (lParam & (1L << 30)) {
        InterlockedIncrement(&ownReport->f10Repeats);
        return;
    }
    GetCursorPos(&ownReport->cursorAtF10);
    InterlockedIncrement(&ownReport->f10Downs);
}

static LRESULT CALLBACK KeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        RecordKey(message, wParam, lParam);
        // F10 would open the window menu; the window keeps the focus instead.
        if (wParam == VK_F10) return 0;
        break;
    case WM_MOUSEMOVE: {
        POINT where;
        GetCursorPos(&where);
        ownReport->mouseX = where.x;
        ownReport->mouseY = where.y;
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunKeyWindow()
{
    HANDLE mapping;
    ownReport = OpenReport(&mapping, false);
    if (!ownReport) return 10;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = KeyWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "PtrTestKeyWindow";
    if (!RegisterClassA(&windowClass)) return 11;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "PtrTestKeyWindow", WS_POPUP | WS_VISIBLE, 0, 0,
                                  width, height, NULL, NULL, windowClass.hInstance, NULL);
    if (!window) return 12;
    SetForegroundWindow(window);
    SetFocus(window);
    ownReport->mouseX = ownReport->mouseY = -1;
    ownReport->screenWidth = width;
    ownReport->screenHeight = height;
    ownReport->window = HandleToULong(window);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    InterlockedExchange(&ownReport->ready, 1);
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

CHILD_ROLE(key_window) { return RunKeyWindow(); }

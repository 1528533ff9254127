// A message hook that a test sets on the agent's thread: the system loads
// this DLL into the agent's process, where the hook reads the agent's window
// class as the agent registered it.
#include "class_probe.h"

static bool reported;

static SIZE IconSize(HICON icon)
{
    SIZE size = {0, 0};
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return size;
    BITMAP bitmap;
    if (GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap)) {
        size.cx = bitmap.bmWidth;
        size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

// Draws the icon on white and on black and compares with the resource drawn the same way.
static bool SameIcon(HICON icon, HMODULE module, int id, int size)
{
    HICON resource = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    if (!icon || !resource) return false;
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size * 2, size * 2);
    HGDIOBJ old = SelectObject(dc, bitmap);
    bool same = true;
    for (int background = 0; background < 2; ++background) {
        RECT all = {0, 0, size * 2, size};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(background ? BLACK_BRUSH : WHITE_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, size, size, 0, NULL, DI_NORMAL);
        DrawIconEx(dc, size, 0, resource, size, size, 0, NULL, DI_NORMAL);
        for (int y = 0; y < size && same; ++y)
            for (int x = 0; x < size && same; ++x) same = GetPixel(dc, x, y) == GetPixel(dc, x + size, y);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    DestroyIcon(resource);
    return same;
}

static void Report(void)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, CLASS_PROBE_REPORT);
    if (!mapping) return;
    auto *report = static_cast<ClassProbeReport *>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (report) {
        HMODULE agent = GetModuleHandleA(NULL);
        WNDCLASSEXA c;
        c.cbSize = sizeof(c);
        report->found = GetClassInfoExA(agent, "myMouseDialog", &c) != 0;
        if (report->found) {
            report->style = c.style;
            report->classExtra = c.cbClsExtra;
            report->windowExtra = c.cbWndExtra;
            report->background = reinterpret_cast<ULONG_PTR>(c.hbrBackground);
            SIZE big = IconSize(c.hIcon), small = IconSize(c.hIconSm);
            report->iconWidth = big.cx, report->iconHeight = big.cy;
            report->smallWidth = small.cx, report->smallHeight = small.cy;
            report->iconIs102 = SameIcon(c.hIcon, agent, 102, big.cx);
            report->smallIs103 = SameIcon(c.hIconSm, agent, 103, small.cx);
            report->cursorIsArrow = c.hCursor == LoadCursorA(NULL, IDC_ARROW);
            report->instanceIsModule = c.hInstance == agent;
        }
        InterlockedExchange(&report->done, 1);
        UnmapViewOfFile(report);
    }
    CloseHandle(mapping);
}

extern "C" LRESULT CALLBACK ProbeClassProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && !reported) {
        reported = true;
        Report();
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// A message hook that a test sets on the control panel's thread: the system
// loads this DLL into that process, where the hook counts the process's GDI
// objects and handles when asked, and the paint messages of one window.
#include "resource_probe.h"
#include "resource_count.h"

static UINT countMessage;

static ResourceProbeReport *OpenReport(HANDLE *mapping)
{
    *mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, RESOURCE_PROBE_REPORT);
    if (!*mapping) return nullptr;
    return static_cast<ResourceProbeReport *>(MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, 0));
}

extern "C" LRESULT CALLBACK ProbeResourcesProc(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG *message = reinterpret_cast<const MSG *>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && (message->message == countMessage || message->message == WM_PAINT)) {
        HANDLE mapping;
        if (ResourceProbeReport *report = OpenReport(&mapping)) {
            if (message->message == WM_PAINT) {
                if (reinterpret_cast<ULONG_PTR>(message->hwnd) == report->paintTarget) InterlockedIncrement(&report->paints);
            } else {
                GdiCount gdi = CountGdiObjects();
                report->gdiObjects = gdi.all, report->bitmaps = gdi.bitmaps, report->dcs = gdi.dcs;
                report->handles = CountHandles();
                InterlockedIncrement(&report->counted);
            }
            UnmapViewOfFile(report);
        }
        if (mapping) CloseHandle(mapping);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) countMessage = RegisterWindowMessageA(RESOURCE_PROBE_COUNT);
    return TRUE;
}

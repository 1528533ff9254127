// Baseline for the agent's memory: a program that only runs a message loop
// behind a hidden window, built like the agent.
#include <windows.h>

static LRESULT CALLBACK IdleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

extern "C" void WINAPI IdleEntry(void)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = IdleProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "PtrBenchIdle";
    RegisterClassA(&windowClass);
    CreateWindowExA(0, "PtrBenchIdle", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, windowClass.hInstance, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    ExitProcess(0);
}

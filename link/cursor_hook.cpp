// The F10 cursor-centring hook: a system-wide keyboard hook whose procedure
// runs in every process that handles keyboard input. Its handle lives in the
// shared block, where every copy of the procedure finds it.
#include "link_state.h"

static HHOOK HookOf(uint32_t handle) { return static_cast<HHOOK>(LongToHandle(static_cast<LONG>(handle))); }

extern "C" LRESULT CALLBACK CenterCursorHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Bit 30 is the previous key state: set for repeats and for the key-up.
    if (shareData->cursorCenterEnabled == 1 && code >= 0 && wParam == VK_F10 && !(lParam & (1L << 30)))
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    // The keystroke always goes on to the application.
    return CallNextHookEx(HookOf(shareData->hookHandle), code, wParam, lParam);
}

extern "C" BOOL WINAPI InstallHooks(void)
{
    if (shareData->hookHandle) return 1;
    if (!linkInstance) return 0;
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, CenterCursorHookProc, linkInstance, 0);
    shareData->hookHandle = HandleToUlong(hook);
    return shareData->hookHandle ? 1 : 0;
}

extern "C" BOOL WINAPI RemoveHooks(void)
{
    if (!shareData->hookHandle) return 1;
    if (!UnhookWindowsHookEx(HookOf(shareData->hookHandle))) return 0;
    shareData->hookHandle = 0;
    return 1;
}

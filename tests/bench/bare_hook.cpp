// Baseline for the hook benchmark: a keyboard hook that only passes the
// keystroke on.
#include <windows.h>

static HHOOK bareHook;

extern "C" LRESULT CALLBACK BareHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(bareHook, code, wParam, lParam);
}

extern "C" BOOL WINAPI InstallBareHook(void)
{
    HMODULE self;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&BareHookProc), &self);
    bareHook = SetWindowsHookExA(WH_KEYBOARD, BareHookProc, self, 0);
    return bareHook != NULL;
}

extern "C" BOOL WINAPI RemoveBareHook(void) { return UnhookWindowsHookEx(bareHook); }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

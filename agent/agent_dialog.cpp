// The hidden dialog: its only message of its own is WM_CLOSE, which shuts the
// agent down.
#include "agent_state.h"

INT_PTR CALLBACK AgentDialogProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message != WM_CLOSE) return FALSE;
    EnableDisableStatus(0);
    RemoveHooks();
    ReleaseShareData();
    DestroyWindow(window);
    PostQuitMessage(0);
    return TRUE;
}

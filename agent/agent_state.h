// Process-wide state of the resident agent, set during start-up.
#ifndef AGENT_STATE_H
#define AGENT_STATE_H

#include <windows.h>

#include "ptrlink.h"
#include "ptrlink_exports.h"

#define PTR_AGENT_CLASS "myMouseDialog"

extern HANDLE shareMapping;
extern MouseShareData *shareData;

// The library's entry points, bound by name at start-up.
extern EnableDisableStatusProc EnableDisableStatus;
extern InitButtonProc InitButton;
extern InstallHooksProc InstallHooks;
extern RemoveHooksProc RemoveHooks;

// Registers the class "myMouseDialog"; 0 when an agent already runs (after the
// first-run reset) or the class cannot be registered.
ATOM RegisterDialogClass(HINSTANCE instance);

// Creates or reuses the block and fills it for a start from `installDir`;
// false when it cannot be mapped.
bool CreateShareData(const char *installDir);
void ReleaseShareData(void);

// Switches off the system's pointer acceleration once, when the registry asks.
void ResetMouseOnFirstRun(void);

INT_PTR CALLBACK AgentDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif

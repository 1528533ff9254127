// ptragent: started at logon with the install directory as its argument, it
// creates the shared block, starts the library and waits behind a hidden
// window until it is told to close. Every failure ends it silently with 0.
#include "agent_state.h"
#include "resource.h"

EnableDisableStatusProc EnableDisableStatus;
InitButtonProc InitButton;
InstallHooksProc InstallHooks;
RemoveHooksProc RemoveHooks;

// The library is loaded by its full path and never unloaded. Entry points that
// are missing end the start before anything is left half-done.
static bool StartLibrary(void)
{
    HMODULE link = LoadLibraryA(shareData->libraryPath);
    if (!link) return false;
    EnableDisableStatus = BindProc<EnableDisableStatusProc>(link, "EnableDisableStatus");
    if (!EnableDisableStatus) return false;
    InitButton = BindProc<InitButtonProc>(link, "InitButton");
    if (!InitButton) return false;
    InitButton();
    InstallHooks = BindProc<InstallHooksProc>(link, "InstallHooks");
    RemoveHooks = BindProc<RemoveHooksProc>(link, "RemoveHooks");
    if (!InstallHooks || !RemoveHooks) {
        EnableDisableStatus(0);
        return false;
    }
    InstallHooks();
    return true;
}

static int AgentMain(HINSTANCE instance, HINSTANCE previous, const char *installDir)
{
    if (!previous && !RegisterDialogClass(instance)) return 0;

    // Longer text would not fit in libraryPath with "\ptrlink.dll".
    if (lstrlenA(installDir) > int(PTR_MAX_INSTALL_DIR)) return 0;
    if (!CreateShareData(installDir)) return 0;
    if (!StartLibrary()) return 0;

    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_AGENT), NULL, AgentDialogProc, 0);
    if (!dialog) {
        RemoveHooks();
        EnableDisableStatus(0);
        return 0;
    }
    ResetMouseOnFirstRun();

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0)) {
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    EnableDisableStatus(0);
    return int(message.wParam);
}

// The argument text: what follows the program's name, quoted or not, and the
// characters with codes 1 to 32 after it; taken verbatim.
static const char *ArgumentText(const char *line)
{
    if (*line == '"') {
        for (++line; *line && *line != '"'; ++line) {
        }
        if (*line == '"') ++line;
    } else {
        while (static_cast<unsigned char>(*line) > ' ') ++line;
    }
    while (*line && static_cast<unsigned char>(*line) <= ' ') ++line;
    return line;
}

extern "C" void WINAPI AgentEntry(void)
{
    ExitProcess(UINT(AgentMain(GetModuleHandleA(NULL), NULL, ArgumentText(GetCommandLineA()))));
}

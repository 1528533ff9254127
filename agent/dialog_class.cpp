// The window class "myMouseDialog": the agent's hidden dialog, and the marker
// by which a second start finds the first.
#include "agent_state.h"
#include "resource.h"

static_assert(DLGWINDOWEXTRA == 30, "dialog windows keep 30 extra bytes");
#ifndef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 48, "the Windows 95 class record is 48 bytes");
#endif

typedef ATOM(WINAPI *RegisterClassExAProc)(const WNDCLASSEXA *);

// Windows 95 takes a small icon through RegisterClassExA, which older systems
// lack; it is looked up in the USER32 that is already loaded.
static ATOM RegisterClassWithSmallIcon(const WNDCLASSA *plain)
{
    HMODULE user32 = GetModuleHandleA("USER32");
    RegisterClassExAProc registerClassEx =
        user32 ? reinterpret_cast<RegisterClassExAProc>(reinterpret_cast<void (*)(void)>(GetProcAddress(user32, "RegisterClassExA")))
               : NULL;
    if (!registerClassEx) return RegisterClassA(plain);

    WNDCLASSEXA extended;
    extended.cbSize = sizeof(extended);
    extended.style = plain->style;
    extended.lpfnWndProc = plain->lpfnWndProc;
    extended.cbClsExtra = plain->cbClsExtra;
    extended.cbWndExtra = plain->cbWndExtra;
    extended.hInstance = plain->hInstance;
    extended.hIcon = plain->hIcon;
    extended.hCursor = plain->hCursor;
    extended.hbrBackground = plain->hbrBackground;
    extended.lpszMenuName = plain->lpszMenuName;
    extended.lpszClassName = plain->lpszClassName;
    extended.hIconSm = static_cast<HICON>(LoadImageA(plain->hInstance, MAKEINTRESOURCEA(IDI_AGENT_SMALL), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0));
    return registerClassEx(&extended);
}

ATOM RegisterDialogClass(HINSTANCE instance)
{
    if (FindWindowA(PTR_AGENT_CLASS, NULL)) {
        ResetMouseOnFirstRun();
        return 0;
    }

    WNDCLASSA windowClass;
    windowClass.style = CS_BYTEALIGNWINDOW | CS_SAVEBITS | CS_DBLCLKS;
    windowClass.lpfnWndProc = DefDlgProcA;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_AGENT));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = PTR_AGENT_CLASS;

    DWORD version = GetVersion();
    bool windowsNt = !(version & 0x80000000u);
    if (windowsNt || LOBYTE(LOWORD(version)) < 4) return RegisterClassA(&windowClass);
    return RegisterClassWithSmallIcon(&windowClass);
}

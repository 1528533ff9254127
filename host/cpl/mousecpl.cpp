// Stand-in for the Windows 95 Mouse control panel, outside Pointerhub: the
// sheet "Mouse Properties" with a Buttons page (page identifier 1) and a
// Motion page (2). Before it creates the sheet it loads the property-sheet
// handlers registered for the Mouse control panel the way the shell does, and
// lets each replace the pages it wants to.
//
//   mousecpl.exe [COUNT]
// shows the sheet COUNT times (default once) in the same process, the way the
// Control Panel folder opens Mouse again: the handlers' libraries stay loaded
// until the last sheet has closed.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <commctrl.h>
#include <cplext.h>
#include <objbase.h>
#include <prsht.h>
#include <shlobj.h>

#include <vector>

#include "mousecpl_resource.h"

namespace {

const char kHandlersKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Mouse\\shellex\\PropertySheetHandlers";

struct OwnPage {
    UINT id;  // the page identifier handlers are offered
    int dialog;
};
const OwnPage kOwnPages[] = {{CPLPAGE_MOUSE_BUTTONS, IDD_BUTTONS_PAGE}, {CPLPAGE_MOUSE_PTRMOTION, IDD_MOTION_PAGE}};

struct Slot {
    HPROPSHEETPAGE replacement = NULL;
};

INT_PTR CALLBACK OwnPageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

BOOL CALLBACK ReplaceWith(HPROPSHEETPAGE page, LPARAM value)
{
    Slot *slot = reinterpret_cast<Slot *>(value);
    if (slot->replacement) return FALSE;
    slot->replacement = page;
    return TRUE;
}

BOOL CALLBACK AddPage(HPROPSHEETPAGE page, LPARAM value)
{
    reinterpret_cast<std::vector<HPROPSHEETPAGE> *>(value)->push_back(page);
    return TRUE;
}

// The class of a handler: its key's name when that is a class identifier,
// otherwise the key's default value.
bool HandlerClass(HKEY handlers, const char *name, CLSID *clsid)
{
    WCHAR wide[64];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 64);
    if (SUCCEEDED(CLSIDFromString(wide, clsid))) return true;
    char value[64] = {};
    LONG size = sizeof(value);
    if (RegQueryValueA(handlers, name, value, &size) != ERROR_SUCCESS) return false;
    MultiByteToWideChar(CP_ACP, 0, value, -1, wide, 64);
    return SUCCEEDED(CLSIDFromString(wide, clsid));
}

std::vector<IShellPropSheetExt *> LoadHandlers()
{
    std::vector<IShellPropSheetExt *> extensions;
    HKEY handlers;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHandlersKey, 0, KEY_READ, &handlers) != ERROR_SUCCESS) return extensions;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(handlers, i, name, sizeof(name)) == ERROR_SUCCESS; ++i) {
        CLSID clsid;
        void *object = NULL;
        if (!HandlerClass(handlers, name, &clsid)) continue;
        if (FAILED(CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_IShellPropSheetExt, &object))) continue;
        IShellPropSheetExt *extension = static_cast<IShellPropSheetExt *>(object);
        // Only handlers that have it are initialised.
        void *init = NULL;
        if (SUCCEEDED(IShellPropSheetExt_QueryInterface(extension, IID_IShellExtInit, &init))) {
            IShellExtInit_Initialize(static_cast<IShellExtInit *>(init), NULL, NULL, NULL);
            IShellExtInit_Release(static_cast<IShellExtInit *>(init));
        }
        extensions.push_back(extension);
    }
    RegCloseKey(handlers);
    return extensions;
}

INT_PTR ShowMouseProperties(HINSTANCE instance)
{
    std::vector<IShellPropSheetExt *> extensions = LoadHandlers();
    std::vector<HPROPSHEETPAGE> added;
    Slot slots[sizeof(kOwnPages) / sizeof(kOwnPages[0])];
    for (IShellPropSheetExt *extension : extensions) {
        IShellPropSheetExt_AddPages(extension, reinterpret_cast<LPFNSVADDPROPSHEETPAGE>(AddPage),
                                    reinterpret_cast<LPARAM>(&added));
        for (size_t i = 0; i < sizeof(kOwnPages) / sizeof(kOwnPages[0]); ++i)
            IShellPropSheetExt_ReplacePage(extension, kOwnPages[i].id, reinterpret_cast<LPFNSVADDPROPSHEETPAGE>(ReplaceWith),
                                           reinterpret_cast<LPARAM>(&slots[i]));
    }

    std::vector<HPROPSHEETPAGE> pages;
    for (size_t i = 0; i < sizeof(kOwnPages) / sizeof(kOwnPages[0]); ++i) {
        if (slots[i].replacement) {
            pages.push_back(slots[i].replacement);
            continue;
        }
        PROPSHEETPAGEA page = {};
        page.dwSize = sizeof(page);
        page.hInstance = instance;
        page.pszTemplate = MAKEINTRESOURCEA(kOwnPages[i].dialog);
        page.pfnDlgProc = OwnPageProc;
        pages.push_back(CreatePropertySheetPageA(&page));
    }
    pages.insert(pages.end(), added.begin(), added.end());

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = 0;
    header.hInstance = instance;
    header.pszCaption = "Mouse Properties";
    header.nPages = UINT(pages.size());
    header.phpage = pages.data();
    INT_PTR result = PropertySheetA(&header);

    for (IShellPropSheetExt *extension : extensions) IShellPropSheetExt_Release(extension);
    return result;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(NULL);

    int count = 0;
    for (const char *c = commandLine; *c >= '0' && *c <= '9'; ++c) count = count * 10 + (*c - '0');
    INT_PTR result = 0;
    for (int shown = 0; shown < (count > 0 ? count : 1); ++shown) result = ShowMouseProperties(instance);

    CoFreeUnusedLibraries();
    CoUninitialize();
    return int(result);
}

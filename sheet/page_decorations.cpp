// The decorations of the page: on the first paint in the process, the button
// test picture, the logo and the eye on the uninstall button are composed over
// what the screen shows under them.
#include "resource.h"
#include "page_pictures.h"
#include "sheet_state.h"

static DWORD pageDecorated;

static void ComposeOver(HWND page, int controlId, int bitmapId)
{
    HWND control = GetDlgItem(page, controlId);
    HDC dc = GetDC(control);
    // The bitmap becomes the control's image and is never freed.
    SetTransparentImage(dc, LoadBitmapA(sheetInstance, MAKEINTRESOURCEA(bitmapId)), 0, 0, PTR_KEY_COLOUR, control);
    ReleaseDC(control, dc);
}

BOOL DecoratePage(HWND page)
{
    if (pageDecorated) return FALSE;
    // The pictures take their background from the screen. Windows erases a
    // page's background when it is shown; where the erase still waits for
    // this paint, it is done first, so that they sit on the page and not on
    // whatever the screen held there before.
    RedrawWindow(page, NULL, NULL, RDW_ERASENOW | RDW_NOCHILDREN);
    ShowButtonPicture(page, 0);
    ComposeOver(page, IDC_LOGO, IDB_LOGO);
    // A push button without BS_BITMAP keeps showing its text "uninstall".
    ComposeOver(page, IDC_UNINSTALL, IDB_EYE);
    pageDecorated = 1;
    return FALSE;
}

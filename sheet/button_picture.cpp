// The button test picture, which shows the mouse buttons held over the page,
// and the double-click test area with its cat.
#include "resource.h"
#include "page_pictures.h"
#include "sheet_state.h"

static HBITMAP buttonPicture;
static BYTE testIconState;

void ShowButtonPicture(HWND page, int mask)
{
    if (buttonPicture) DeleteObject(buttonPicture);
    buttonPicture = LoadBitmapA(sheetInstance, MAKEINTRESOURCEA(IDB_BUTTONS_NONE + mask));
    HWND control = GetDlgItem(page, IDC_BUTTON_PICTURE);
    HDC dc = GetDC(control);
    SetTransparentImage(dc, buttonPicture, 0, 0, PTR_KEY_COLOUR, control);
    ReleaseDC(control, dc);
}

// A double click inside the test area's frame (its border included) wakes or
// lulls the cat.
static void TestDoubleClick(HWND page, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(page, &point);
    RECT frame;
    GetWindowRect(GetDlgItem(page, IDC_TEST_AREA), &frame);
    if (!PtInRect(&frame, point)) return;
    testIconState = testIconState ? 0 : 1;
    HICON icon = LoadIconA(sheetInstance, MAKEINTRESOURCEA(testIconState ? IDI_TEST_DOUBLE_CLICKED : IDI_TEST_IDLE));
    SendDlgItemMessageA(page, IDC_TEST_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void MousePageOnButton(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The other two buttons come from the key flags; the message's own button
    // is set on a press or double click and cleared on a release.
    int held = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_MBUTTON) ? 2 : 0) | ((wParam & MK_RBUTTON) ? 4 : 0);
    int own = 0;
    bool pressed = true;
    switch (message) {
    case WM_LBUTTONDBLCLK:
        TestDoubleClick(page, lParam);
        own = 1;
        break;
    case WM_LBUTTONDOWN: own = 1; break;
    case WM_LBUTTONUP: own = 1, pressed = false; break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: own = 4; break;
    case WM_RBUTTONUP: own = 4, pressed = false; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: own = 2; break;
    case WM_MBUTTONUP: own = 2, pressed = false; break;
    default: return;
    }
    held = pressed ? (held | own) : (held & ~own);
    ShowButtonPicture(page, held);
}

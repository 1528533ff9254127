// The mouse page: it shows the settings of the shared block, tracks the
// user's changes, writes them back on apply and hands them to the library.
// Its state between opening and apply is the state of its controls.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "resource.h"
#include "page_pictures.h"
#include "sheet_state.h"

namespace {

// In code order, so that a list index is a ButtonAction code.
const char *const kActionNames[PTR_ACTION_COUNT] = {
    "(Unassigned)", "Double-Click", "Start", "Next Task", "F1(Help)",
};

LRESULT SendItem(HWND window, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageA(window, id, message, wParam, lParam);
}

int Selection(HWND window, int id) { return int(SendItem(window, id, CB_GETCURSEL, 0, 0)); }
void Select(HWND window, int id, int index) { SendItem(window, id, CB_SETCURSEL, WPARAM(index), 0); }
bool Checked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
int Position(HWND window, int id) { return int(SendItem(window, id, TBM_GETPOS, 0, 0)); }

void EnableItem(HWND window, int id, BOOL enable) { EnableWindow(GetDlgItem(window, id), enable); }

void MarkPageChanged(HWND window)
{
    SendMessageA(GetParent(window), PSM_CHANGED, reinterpret_cast<WPARAM>(window), 0);
}

void SetupTrackbar(HWND window, int id, int minimum, int maximum, int tickFrequency, LONG position)
{
    SendItem(window, id, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
    SendItem(window, id, TBM_SETPOS, TRUE, position);
    SendItem(window, id, TBM_SETTICFREQ, WPARAM(tickFrequency), position);
}

// The outer combo that edits secondAction is enabled with its label; the other shows "(Unassigned)".
void ShowHand(HWND window, bool leftHand)
{
    EnableItem(window, IDC_LEFT_ACTION, leftHand);
    EnableItem(window, IDC_LEFT_LABEL, leftHand);
    EnableItem(window, IDC_RIGHT_ACTION, !leftHand);
    EnableItem(window, IDC_RIGHT_LABEL, !leftHand);
}

// The driver's word on the connected mouse fixes the three-button mode.
void ProbeMouse(HWND window)
{
    if (!GetMouseInfo) return;
    MouseInfo info;
    info.valid = 0;
    info.buttonCount = 0;
    GetMouseInfo(&info, sizeof(info));
    if (!info.valid) return;
    shareData->threeButtonMode = info.buttonCount == 3 ? 1 : 0;
    EnableItem(window, IDC_THREE_BUTTON, FALSE);
}

void InitMousePage(HWND window)
{
    const int combos[] = {IDC_LEFT_ACTION, IDC_MIDDLE_ACTION, IDC_RIGHT_ACTION};
    for (int id : combos)
        for (const char *name : kActionNames) SendItem(window, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));

    Select(window, IDC_MIDDLE_ACTION, shareData->middleAction);
    if (shareData->swapButtons) {
        Select(window, IDC_RIGHT_ACTION, 0);
        Select(window, IDC_LEFT_ACTION, shareData->secondAction);
        ShowHand(window, true);
        CheckDlgButton(window, IDC_LEFT_HAND, BST_CHECKED);
    } else {
        Select(window, IDC_LEFT_ACTION, 0);
        Select(window, IDC_RIGHT_ACTION, shareData->secondAction);
    }
    if (shareData->cursorCenterEnabled) CheckDlgButton(window, IDC_CURSOR_CENTER, BST_CHECKED);

    ProbeMouse(window);
    if (shareData->threeButtonMode) {
        CheckDlgButton(window, IDC_THREE_BUTTON, BST_CHECKED);
    } else {
        EnableItem(window, IDC_MIDDLE_ACTION, FALSE);
        EnableItem(window, IDC_MIDDLE_LABEL, FALSE);
    }

    // The trackbar pulls a position outside its range to the nearest end.
    uint32_t doubleClickTime = shareData->doubleClickTime;
    LONG doubleClickPosition = doubleClickTime > 100000 ? -100000 : 1000 - LONG(doubleClickTime);
    SetupTrackbar(window, IDC_DOUBLE_CLICK, 100, 900, 400, doubleClickPosition);
    SetupTrackbar(window, IDC_SENSITIVITY, 1, 20, 1, shareData->sensitivity / 10);
    SetupTrackbar(window, IDC_ACCELERATION, 0, 3, 1, shareData->acceleration);
}

void SwapHands(HWND window)
{
    bool leftHand = Checked(window, IDC_LEFT_HAND);
    int from = leftHand ? IDC_RIGHT_ACTION : IDC_LEFT_ACTION;
    int to = leftHand ? IDC_LEFT_ACTION : IDC_RIGHT_ACTION;
    Select(window, to, Selection(window, from));
    Select(window, from, 0);
    ShowHand(window, leftHand);
}

void SwitchThreeButtons(HWND window)
{
    BOOL on = Checked(window, IDC_THREE_BUTTON);
    EnableItem(window, IDC_MIDDLE_ACTION, on);
    EnableItem(window, IDC_MIDDLE_LABEL, on);
}

// The help file lies in the folder of the library.
void ShowPageHelp(HWND window)
{
    char path[PTR_LIBRARY_PATH_SIZE + sizeof("tavren.hlp")];
    int end = 0;
    // Another process wrote the path: no more than its field is read.
    while (end < int(PTR_LIBRARY_PATH_SIZE) - 1 && shareData->libraryPath[end]) {
        path[end] = shareData->libraryPath[end];
        ++end;
    }
    path[end] = 0;
    int cut = end;
    while (cut >= 1 && path[cut] != '\\') --cut;
    if (cut >= 1) {
        path[cut + 1] = 0;
    } else {
        path[0] = '\\';
        path[1] = 0;
    }
    lstrcatA(path, "tavren.hlp");
    WinHelpA(window, path, HELP_FINDER, 0);
}

void ApplyMousePage(HWND window)
{
    // A combo without a selection leaves its field as the block has it.
    int middle = Selection(window, IDC_MIDDLE_ACTION);
    if (middle >= 0) shareData->middleAction = uint8_t(middle);
    bool leftHand = Checked(window, IDC_LEFT_HAND);
    shareData->swapButtons = leftHand ? 1 : 0;
    int second = Selection(window, leftHand ? IDC_LEFT_ACTION : IDC_RIGHT_ACTION);
    if (second >= 0) shareData->secondAction = uint8_t(second);
    shareData->doubleClickTime = uint32_t(1000 - Position(window, IDC_DOUBLE_CLICK));
    shareData->sensitivity = uint8_t(Position(window, IDC_SENSITIVITY) * 10);
    shareData->acceleration = uint8_t(Position(window, IDC_ACCELERATION));
    shareData->cursorCenterEnabled = Checked(window, IDC_CURSOR_CENTER) ? 1 : 0;
    shareData->threeButtonMode = Checked(window, IDC_THREE_BUTTON) ? 1 : 0;
    if (UpdateButtonStatus) UpdateButtonStatus();
}

void MousePageOnCommand(HWND window, int id)
{
    switch (id) {
    case IDC_MIDDLE_ACTION:
        if (Selection(window, id) != shareData->middleAction) MarkPageChanged(window);
        break;
    case IDC_RIGHT_ACTION:
    case IDC_LEFT_ACTION:
        if (Selection(window, id) != shareData->secondAction) MarkPageChanged(window);
        break;
    case IDC_THREE_BUTTON:
        MarkPageChanged(window);
        SwitchThreeButtons(window);
        break;
    case IDC_LEFT_HAND:
        MarkPageChanged(window);
        SwapHands(window);
        break;
    case IDC_CURSOR_CENTER:
        MarkPageChanged(window);
        break;
    case IDC_HELP_BUTTON:
        ShowPageHelp(window);
        break;
    case IDC_UNINSTALL:
        UninstallMouseDriver(window);
        break;
    default:
        break;
    }
}

} // namespace

INT_PTR CALLBACK MousePageDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        KeepTemplatePictures(window);
        InitMousePage(window);
        return TRUE;
    case WM_COMMAND:
        MousePageOnCommand(window, LOWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        MarkPageChanged(window);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR *>(lParam)->code == UINT(PSN_APPLY)) ApplyMousePage(window);
        return TRUE;
    case WM_PAINT:
        return DecoratePage(window);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        MousePageOnButton(window, message, wParam, lParam);
        return TRUE;
    case WM_DESTROY:
        FreeTemplatePictures(window);
        return TRUE;
    default:
        return FALSE;
    }
}

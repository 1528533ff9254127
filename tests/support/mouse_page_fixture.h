// The mouse page in the Mouse control panel with an agent resident, as the
// page tests open it, and what the screen shows of its button picture.
#ifndef MOUSE_PAGE_FIXTURE_H
#define MOUSE_PAGE_FIXTURE_H

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "agent_process.h"
#include "control_panel.h"
#include "driver_probe.h"
#include "settings_registry.h"
#include "share_block.h"
#include "sheet_paths.h"

class MousePage : public testing::Test {
protected:
    void SetUp() override
    {
        CloseAllAgents();
        DeleteSettingsKey();
        ASSERT_TRUE(registration.ok);
        ASSERT_TRUE(StartAgent(&agent, " " + BuildInstallDir()));
        ASSERT_NE(WaitForAgentWindow(), nullptr);
        block.reset(new BlockView);
        ASSERT_TRUE(block->ok());
        ASSERT_TRUE(ResetDriver());
    }
    void TearDown() override
    {
        ResetDriver();
        CloseAllAgents();
    }
    // Opens the control panel with the block and the driver's answer as given.
    void Open(uint8_t valid = 0, uint8_t buttons = 0, int showings = 1)
    {
        ASSERT_TRUE(ConfigureDriver(valid, buttons));
        ASSERT_TRUE(panel.Open(showings)) << "the control panel did not show the mouse page";
    }
    int Selection(int id) { return int(SendMessageA(panel.Item(id), CB_GETCURSEL, 0, 0)); }
    bool Checked(int id) { return SendMessageA(panel.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) { return IsWindowEnabled(panel.Item(id)) != FALSE; }
    int Position(int id) { return int(SendMessageA(panel.Item(id), TBM_GETPOS, 0, 0)); }

    SystemMouseGuard guard;
    SheetRegistration registration{SheetDllPath()};
    ChildProcess agent;
    std::unique_ptr<BlockView> block;  // taken once the agent has made it
    ControlPanel panel;
};

// What the screen shows of the button picture, compared with where each
// button lies in the pictures: the pixels that bitmap 104 (left), 105
// (middle) or 107 (right) has navy.
class ButtonPictureOnScreen {
public:
    explicit ButtonPictureOnScreen(HWND picture) : control(picture)
    {
        HMODULE sheet = LoadLibraryExA(SheetDllPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        HBITMAP none = LoadBitmapA(sheet, MAKEINTRESOURCEA(103));
        HDC noneDc = CreateCompatibleDC(NULL);
        HGDIOBJ oldNone = SelectObject(noneDc, none);
        for (int y = 0; y < 141; y += 2)
            for (int x = 0; x < 176; x += 2)
                if (GetPixel(noneDc, x, y) == RGB(0, 255, 255)) key.push_back(POINT{x, y});
        SelectObject(noneDc, oldNone);
        DeleteDC(noneDc);
        DeleteObject(none);
        const int ids[3] = {104, 105, 107};
        for (int b = 0; b < 3; ++b) {
            HBITMAP bitmap = LoadBitmapA(sheet, MAKEINTRESOURCEA(ids[b]));
            HDC dc = CreateCompatibleDC(NULL);
            HGDIOBJ old = SelectObject(dc, bitmap);
            for (int y = 0; y < 141; y += 2)
                for (int x = 0; x < 176; x += 2)
                    if (GetPixel(dc, x, y) == RGB(0, 0, 128)) button[b].push_back(POINT{x, y});
            SelectObject(dc, old);
            DeleteDC(dc);
            DeleteObject(bitmap);
        }
        FreeLibrary(sheet);
    }
    // The mask of the buttons that the screen shows navy; -1 when a button is half navy.
    int HeldOnScreen() const
    {
        RECT r;
        GetWindowRect(control, &r);
        HDC screen = GetDC(NULL);
        int mask = 0;
        for (int b = 0; b < 3; ++b) {
            size_t navy = 0;
            for (const POINT &p : button[b]) navy += GetPixel(screen, r.left + p.x, r.top + p.y) == RGB(0, 0, 128);
            if (navy == button[b].size()) mask |= b == 0 ? 1 : b == 1 ? 2 : 4;
            else if (navy) mask = -1;
            if (mask < 0) break;
        }
        ReleaseDC(NULL, screen);
        return mask;
    }
    // How many of the pictures' key-colour pixels that lie over the bare page
    // (over none of its other controls) the screen shows in another colour.
    size_t KeyPixelsNotIn(COLORREF colour) const
    {
        RECT r;
        GetWindowRect(control, &r);
        std::vector<RECT> others;
        for (HWND child = GetWindow(GetParent(control), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT c;
            // A group box (one frames the whole page) draws only its frame and caption.
            bool groupBox = (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
            if (child != control && !groupBox && IsWindowVisible(child) && GetWindowRect(child, &c)) others.push_back(c);
        }
        HDC screen = GetDC(NULL);
        size_t other = 0;
        compared = 0;
        for (const POINT &p : key) {
            POINT at = {r.left + p.x, r.top + p.y};
            bool covered = false;
            for (const RECT &c : others) covered = covered || PtInRect(&c, at);
            if (covered) continue;
            ++compared;
            other += GetPixel(screen, at.x, at.y) != colour;
        }
        ReleaseDC(NULL, screen);
        return other;
    }
    mutable size_t compared = 0;  // the pixels that the last KeyPixelsNotIn looked at

    // Whether the key colour shows anywhere on the page: one copy of the
    // screen, read in memory.
    bool AnyKeyColour(HWND page) const
    {
        RECT r;
        GetWindowRect(page, &r);
        int w = r.right - r.left, h = r.bottom - r.top;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = nullptr;
        HBITMAP copy = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        if (!copy) return false;
        HDC screen = GetDC(NULL);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, copy);
        BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        bool found = false;
        const DWORD *pixel = static_cast<const DWORD *>(bits);
        for (int i = 0; i < w * h && !found; ++i) found = (pixel[i] & 0xFFFFFF) == 0x00FFFF;  // blue 255, green 255, red 0
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(NULL, screen);
        DeleteObject(copy);
        return found;
    }

private:
    HWND control;
    std::vector<POINT> button[3];
    std::vector<POINT> key;  // where all eight pictures have the key colour
};

// Which of the test icons (104 or 105) the icon control shows on screen, by
// the pixels that the icon covers; 0 when neither.
inline int TestIconShown(HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    HMODULE sheet = LoadLibraryExA(SheetDllPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 64, 32);
    HGDIOBJ old = SelectObject(dc, canvas);
    int shown = 0;
    for (int id = 104; id <= 105 && !shown; ++id) {
        HICON icon = static_cast<HICON>(LoadImageA(sheet, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        RECT black = {0, 0, 32, 32}, white = {32, 0, 64, 32};
        FillRect(dc, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        FillRect(dc, &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, 32, 32, 0, NULL, DI_NORMAL);
        DrawIconEx(dc, 32, 0, icon, 32, 32, 0, NULL, DI_NORMAL);
        int covered = 0, same = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                if (c != GetPixel(dc, x + 32, y)) continue;  // the icon lets the background through here
                ++covered;
                same += GetPixel(screen, r.left + x, r.top + y) == c;
            }
        if (covered && same == covered) shown = id;
        DestroyIcon(icon);
    }
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    FreeLibrary(sheet);
    return shown;
}

// The same, waited for until it shows `expected` (the control may still be painting).
inline int TestIconOnScreen(HWND control, int expected)
{
    int shown = 0;
    for (int i = 0; i < 50 && (shown = TestIconShown(control)) != expected; ++i) Sleep(20);
    return shown;
}

#endif

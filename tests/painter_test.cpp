// The transparent painter on a static picture control of this process's own
// window: the key colour gives way to exactly what the control showed, other
// pixels stay, and nothing of the GDI is left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "page_pictures.h"
#include "resource_count.h"

namespace {

const int kWidth = 40, kHeight = 30;
const COLORREF kCyan = RGB(0, 255, 255);

std::vector<COLORREF> Pixels(HDC dc)
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}

std::vector<COLORREF> BitmapPixels(HBITMAP bitmap)
{
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<COLORREF> pixels = old ? Pixels(dc) : std::vector<COLORREF>();
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

// A screen-compatible bitmap drawn pixel by pixel.
HBITMAP MakeBitmap(const std::function<COLORREF(int, int)> &colour)
{
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) SetPixel(dc, x, y, colour(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
    return bitmap;
}

void Pump(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

class Painter : public testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExA(WS_EX_TOPMOST, "Static", "", WS_POPUP | WS_VISIBLE, 200, 200, 120, 90, NULL, NULL,
                                 NULL, NULL);
        ASSERT_NE(window, nullptr);
        control = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 20, 20, kWidth, kHeight, window,
                                  NULL, NULL, NULL);
        ASSERT_NE(control, nullptr);
        // What the control shows first: a gradient without the key colour.
        first = MakeBitmap([](int x, int y) { return RGB(x * 6, y * 8, 64); });
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first));
        Pump(300);
    }
    void TearDown() override
    {
        if (window) DestroyWindow(window);
        DeleteObject(first);
    }
    std::vector<COLORREF> Shown()
    {
        RedrawWindow(control, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(100);
        HDC dc = GetDC(control);
        std::vector<COLORREF> pixels = Pixels(dc);
        ReleaseDC(control, dc);
        return pixels;
    }
    void Paint(HBITMAP picture)
    {
        HDC dc = GetDC(control);
        SetTransparentImage(dc, picture, 0, 0, kCyan, control);
        ReleaseDC(control, dc);
    }

    HWND window = nullptr, control = nullptr;
    HBITMAP first = nullptr;
};

TEST_F(Painter, KeyColourGivesWayToWhatTheControlShowed)
{
    const struct {
        const char *name;
        std::function<COLORREF(int, int)> colour;
    } cases[] = {
        {"only the key colour", [](int, int) { return kCyan; }},
        {"no key colour", [](int x, int y) { return (x + y) % 2 ? RGB(255, 0, 0) : RGB(0, 0, 128); }},
        {"key colour on the left half", [](int x, int y) { return x < kWidth / 2 ? kCyan : RGB(y * 8, 255, 0); }},
        {"a near miss of the key colour", [](int, int) { return RGB(0, 255, 254); }},
    };
    std::vector<HBITMAP> pictures;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<COLORREF> background = Shown();
        HBITMAP picture = MakeBitmap(c.colour);
        pictures.push_back(picture);
        std::vector<COLORREF> drawn = BitmapPixels(picture);
        Paint(picture);

        EXPECT_EQ(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(picture));
        std::vector<COLORREF> composed = BitmapPixels(picture);
        ASSERT_EQ(composed.size(), background.size()) << "the picture is still selected into a DC";
        int wrong = 0;
        for (size_t i = 0; i < composed.size(); ++i)
            wrong += composed[i] != (drawn[i] == kCyan ? background[i] : drawn[i]);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(Shown(), composed) << "the control shows the composed picture";
    }
    for (HBITMAP picture : pictures) DeleteObject(picture);
}

TEST_F(Painter, LeavesNoObjectBehind)
{
    HBITMAP picture = MakeBitmap([](int x, int) { return x % 3 ? kCyan : RGB(0, 0, 0); });
    Paint(picture);  // whatever the GDI makes on first use
    GdiCount before = CountGdiObjects();
    LONG handles = CountHandles();
    for (int i = 0; i < 3000; ++i) Paint(picture);
    GdiCount after = CountGdiObjects();
    EXPECT_EQ(after.all, before.all);
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(CountHandles(), handles);
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first));
    DeleteObject(picture);
}

} // namespace

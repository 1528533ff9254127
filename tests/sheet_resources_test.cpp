// The pictures of the mouse page as the built ptrsheet.dll holds them, in both
// builds: sizes, depths, palettes, and which pixels carry the key colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "sheet_paths.h"

namespace {

struct Bitmap {
    bool ok = false;
    int width = 0, height = 0, bits = 0;
    std::vector<RGBQUAD> palette;
    std::vector<int> pixels;  // palette indices, top row first

    RGBQUAD colour(int x, int y) const { return palette[size_t(pixels[size_t(y) * width + x])]; }
};

bool IsRgb(const RGBQUAD &c, int r, int g, int b) { return c.rgbRed == r && c.rgbGreen == g && c.rgbBlue == b; }
bool IsKey(const RGBQUAD &c) { return IsRgb(c, 0, 255, 255); }

class SheetResources : public testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        std::string path = std::string(GetParam()) == "i686" ? WinPath(PTR_TEST_SHEET_DLL32) : SheetDllPath();
        module = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (!module && std::string(GetParam()) == "i686") GTEST_SKIP() << path << " is not built";
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override
    {
        if (module) FreeLibrary(module);
    }
    const uint8_t *Resource(LPCSTR type, int id)
    {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
        return found ? static_cast<const uint8_t *>(LockResource(LoadResource(module, found))) : nullptr;
    }
    Bitmap Load(int id)
    {
        Bitmap b;
        const uint8_t *data = Resource(MAKEINTRESOURCEA(2), id);
        if (!data) return b;
        BITMAPINFOHEADER info;
        std::memcpy(&info, data, sizeof(info));
        b.width = info.biWidth;
        b.height = info.biHeight;
        b.bits = info.biBitCount;
        size_t colours = info.biClrUsed ? info.biClrUsed : size_t(1) << info.biBitCount;
        b.palette.resize(colours);
        std::memcpy(b.palette.data(), data + info.biSize, colours * sizeof(RGBQUAD));
        const uint8_t *bits = data + info.biSize + colours * sizeof(RGBQUAD);
        int rowBytes = ((b.width * b.bits + 31) / 32) * 4;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                const uint8_t *row = bits + size_t(b.height - 1 - y) * rowBytes;
                int v = b.bits == 8 ? row[x] : (x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
                b.pixels.push_back(v);
            }
        b.ok = true;
        return b;
    }
    int KeyPixels(const Bitmap &b)
    {
        int count = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) count += IsKey(b.colour(x, y));
        return count;
    }
    void ExpectVgaPalette(const Bitmap &b)
    {
        ASSERT_EQ(b.palette.size(), 16u);
        const int vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (int i = 0; i < 16; ++i) EXPECT_TRUE(IsRgb(b.palette[size_t(i)], vga[i][0], vga[i][1], vga[i][2])) << i;
    }

    HMODULE module = nullptr;
};

TEST_P(SheetResources, EyeAndLogo)
{
    Bitmap eye = Load(101);
    ASSERT_TRUE(eye.ok);
    EXPECT_EQ(eye.width, 23);
    EXPECT_EQ(eye.height, 15);
    EXPECT_EQ(eye.bits, 4);
    ExpectVgaPalette(eye);
    EXPECT_EQ(KeyPixels(eye), 201);

    Bitmap logo = Load(102);
    ASSERT_TRUE(logo.ok);
    EXPECT_EQ(logo.width, 121);
    EXPECT_EQ(logo.height, 50);
    EXPECT_EQ(logo.bits, 8);
    EXPECT_EQ(logo.palette.size(), 235u);
    EXPECT_EQ(KeyPixels(logo), 0) << "the logo shows unchanged";
    int red = 0, white = 0;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x) {
            red += IsRgb(logo.colour(x, y), 255, 0, 0);
            white += IsRgb(logo.colour(x, y), 255, 255, 255);
        }
    EXPECT_GT(red, logo.width * logo.height / 2) << "a red field";
    EXPECT_GT(white, 100) << "white lettering";
}

TEST_P(SheetResources, ButtonPicturesDifferOnlyInTheHeldButtons)
{
    Bitmap none = Load(103);
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.width, 176);
    EXPECT_EQ(none.height, 141);
    EXPECT_EQ(none.bits, 4);
    ExpectVgaPalette(none);
    EXPECT_EQ(KeyPixels(none), 16270);

    // Where each single button lies: the pixels that are navy when it alone is held.
    std::vector<std::vector<bool>> button(3, std::vector<bool>(none.pixels.size()));
    for (int mask = 1; mask < 8; ++mask) {
        SCOPED_TRACE(testing::Message() << "bitmap " << 103 + mask);
        Bitmap held = Load(103 + mask);
        ASSERT_TRUE(held.ok);
        ASSERT_EQ(held.width, 176);
        ASSERT_EQ(held.height, 141);
        int navy = 0;
        for (size_t i = 0; i < none.pixels.size(); ++i) {
            int x = int(i) % none.width, y = int(i) / none.width;
            RGBQUAD was = none.colour(x, y), is = held.colour(x, y);
            ASSERT_EQ(IsKey(was), IsKey(is)) << "the same key pixels in every picture, at " << x << "," << y;
            if (IsRgb(was, is.rgbRed, is.rgbGreen, is.rgbBlue)) continue;
            ASSERT_TRUE(IsRgb(was, 192, 192, 192) && IsRgb(is, 0, 0, 128)) << "only light grey turns navy, at " << x
                                                                              << "," << y;
            ++navy;
            if (mask == 1 || mask == 2 || mask == 4) button[mask == 4 ? 2 : mask - 1][i] = true;
            else {
                // A combination shows exactly the union of its buttons.
                bool inHeld = false;
                for (int b = 0; b < 3; ++b) inHeld |= (mask & (1 << b)) && button[size_t(b)][i];
                ASSERT_TRUE(inHeld) << "navy outside the held buttons, at " << x << "," << y;
            }
        }
        EXPECT_GT(navy, 100);
    }
}

TEST_P(SheetResources, TestAreaCats)
{
    for (int id : {104, 105}) {
        SCOPED_TRACE(id);
        const uint8_t *group = Resource(MAKEINTRESOURCEA(14), id);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group[4] | group[5] << 8, 1) << "one image";
        EXPECT_EQ(group[6], 32);
        EXPECT_EQ(group[7], 32);
        EXPECT_EQ(group[8], 16) << "colours";
        int image = group[18] | group[19] << 8;
        const uint8_t *bits = Resource(MAKEINTRESOURCEA(3), image);
        ASSERT_NE(bits, nullptr);
        BITMAPINFOHEADER info;
        std::memcpy(&info, bits, sizeof(info));
        EXPECT_EQ(info.biBitCount, 4);
        // Its own transparency: the mask has both clear and set bits.
        const uint8_t *mask = bits + info.biSize + 16 * 4 + 32 * 16;
        int set = 0;
        for (int i = 0; i < 32 * 4; ++i)
            for (int bit = 0; bit < 8; ++bit) set += (mask[i] >> bit) & 1;
        EXPECT_GT(set, 100) << "transparent around the cat";
        EXPECT_LT(set, 32 * 32 - 200) << "the cat itself";
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, SheetResources, testing::Values("x86_64", "i686"));

} // namespace

// Build-machine helper for the resource generators: palette-indexed pictures
// written as Windows icon (.ico) and bitmap (.bmp) files.
#ifndef PIXEL_ART_H
#define PIXEL_ART_H

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

// The 16 colours of the standard VGA palette, in their usual order.
extern const std::vector<Rgb> kVgaPalette;
enum VgaColour : uint8_t {
    kBlack, kMaroon, kGreen, kOlive, kNavy, kPurple, kTeal, kSilver,
    kGrey, kRed, kLime, kYellow, kBlue, kFuchsia, kAqua, kWhite,
};

struct Picture {
    Picture(int width, int height, uint8_t fill = 0);
    int width, height;
    std::vector<uint8_t> pixels;      // palette indices, top row first
    std::vector<uint8_t> transparent; // 1 where an icon shows what lies under it
    uint8_t &at(int x, int y) { return pixels[size_t(y) * width + x]; }
    void set(int x, int y, uint8_t colour);
};

// An icon file with one 4-bit image per picture (16 colours).
bool WriteIcon(const std::string &path, const std::vector<Picture> &images, const std::vector<Rgb> &palette);
// A bitmap file of the given depth (1, 4 or 8 bits per pixel).
bool WriteBitmap(const std::string &path, const Picture &picture, const std::vector<Rgb> &palette, int bitsPerPixel);

#endif

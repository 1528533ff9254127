#include "pixel_art.h"

#include <fstream>

const std::vector<Rgb> kVgaPalette = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};

Picture::Picture(int w, int h, uint8_t fill)
    : width(w), height(h), pixels(size_t(w) * h, fill), transparent(size_t(w) * h, 0)
{
}

void Picture::set(int x, int y, uint8_t colour)
{
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    at(x, y) = colour;
    transparent[size_t(y) * width + x] = 0;
}

namespace {

struct Bytes {
    std::vector<uint8_t> data;
    void u8(unsigned v) { data.push_back(uint8_t(v)); }
    void u16(unsigned v) { u8(v & 0xFF), u8(v >> 8); }
    void u32(uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
};

int RowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

// Rows bottom-up, each padded to 4 bytes, as device-independent bitmaps keep them.
void PackRows(Bytes &out, int width, int height, int bits, const std::vector<uint8_t> &values)
{
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(RowBytes(width, bits)), 0);
        for (int x = 0; x < width; ++x) {
            unsigned v = values[size_t(y) * width + x];
            int bit = x * bits;
            row[size_t(bit / 8)] |= uint8_t(v << (8 - bits - bit % 8));
        }
        out.data.insert(out.data.end(), row.begin(), row.end());
    }
}

void InfoHeader(Bytes &out, int width, int height, int bits, size_t colours, size_t imageSize)
{
    out.u32(40);
    out.u32(uint32_t(width));
    out.u32(uint32_t(height));
    out.u16(1);
    out.u16(unsigned(bits));
    out.u32(0);
    out.u32(uint32_t(imageSize));
    out.u32(0);
    out.u32(0);
    out.u32(uint32_t(colours));
    out.u32(0);
}

void Colours(Bytes &out, const std::vector<Rgb> &palette, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        Rgb c = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
        out.u8(c.b), out.u8(c.g), out.u8(c.r), out.u8(0);
    }
}

bool Save(const std::string &path, const Bytes &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char *>(bytes.data.data()), std::streamsize(bytes.data.size()));
    return bool(file);
}

} // namespace

bool WriteIcon(const std::string &path, const std::vector<Picture> &images, const std::vector<Rgb> &palette)
{
    std::vector<Bytes> bodies;
    for (const Picture &p : images) {
        Bytes body;
        size_t imageSize = size_t(RowBytes(p.width, 4) + RowBytes(p.width, 1)) * p.height;
        // An icon image is twice as high: the colour bitmap, then the mask.
        InfoHeader(body, p.width, p.height * 2, 4, 16, imageSize);
        Colours(body, palette, 16);
        std::vector<uint8_t> colours = p.pixels;
        for (size_t i = 0; i < colours.size(); ++i)
            if (p.transparent[i]) colours[i] = 0;
        PackRows(body, p.width, p.height, 4, colours);
        PackRows(body, p.width, p.height, 1, p.transparent);
        bodies.push_back(body);
    }
    Bytes file;
    file.u16(0), file.u16(1), file.u16(unsigned(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.u8(unsigned(images[i].width)), file.u8(unsigned(images[i].height));
        file.u8(16), file.u8(0), file.u16(1), file.u16(4);
        file.u32(uint32_t(bodies[i].data.size())), file.u32(offset);
        offset += uint32_t(bodies[i].data.size());
    }
    for (const Bytes &b : bodies) file.data.insert(file.data.end(), b.data.begin(), b.data.end());
    return Save(path, file);
}

bool WriteBitmap(const std::string &path, const Picture &picture, const std::vector<Rgb> &palette, int bitsPerPixel)
{
    size_t colours = size_t(1) << bitsPerPixel;
    if (palette.size() < colours) colours = palette.size();
    Bytes pixels;
    PackRows(pixels, picture.width, picture.height, bitsPerPixel, picture.pixels);
    Bytes file;
    uint32_t offset = uint32_t(14 + 40 + 4 * colours);
    file.u16(0x4D42), file.u32(uint32_t(offset + pixels.data.size())), file.u32(0), file.u32(offset);
    InfoHeader(file, picture.width, picture.height, bitsPerPixel, colours, pixels.data.size());
    Colours(file, palette, colours);
    file.data.insert(file.data.end(), pixels.data.begin(), pixels.data.end());
    return Save(path, file);
}

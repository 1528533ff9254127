// Draws the pictures of the mouse page and writes them as resource files:
//   eye.bmp (101), logo.bmp (102), buttons0.bmp .. buttons7.bmp (103 .. 110),
//   cat_drowsy.ico (104), cat_awake.ico (105).
// Run by the build: sheet_pictures OUTPUT_DIR.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "pixel_art.h"

namespace {

const uint8_t kKey = kAqua;  // the key colour, cyan 0x00FFFF00

int Count(const Picture &p, uint8_t colour)
{
    return int(std::count(p.pixels.begin(), p.pixels.end(), colour));
}

void Line(Picture &p, int x0, int y0, int x1, int y1, uint8_t colour)
{
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int err = dx + dy;;) {
        p.set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

// --- The button test pictures: 176 x 141, the mouse at a slant. ---

const int kPictureWidth = 176, kPictureHeight = 141;
const int kKeyPixels = 16270;  // the same in all eight pictures
const double kCx = 100, kCy = 80, kA = 46, kB = 57, kSlant = -0.35;

// Coordinates along the mouse's own axes: u across, v from front (negative) to back.
void MouseAxes(double x, double y, double *u, double *v)
{
    double dx = x - kCx, dy = y - kCy;
    *u = dx * std::cos(kSlant) + dy * std::sin(kSlant);
    *v = -dx * std::sin(kSlant) + dy * std::cos(kSlant);
}

bool InBody(int x, int y)
{
    double u, v;
    MouseAxes(x + 0.5, y + 0.5, &u, &v);
    return (u / kA) * (u / kA) + (v / kB) * (v / kB) <= 1.0;
}

// 0 outside the buttons, else 1 left, 2 middle, 4 right (the mask bit).
int ButtonAt(int x, int y)
{
    double u, v;
    MouseAxes(x + 0.5, y + 0.5, &u, &v);
    if (!InBody(x, y) || v > -kB * 0.38) return 0;
    if (u < -kA / 3) return 1;
    if (u > kA / 3) return 4;
    return 2;
}

void ButtonCentre(int bit, int *x, int *y)
{
    double u = bit == 1 ? -kA * 0.62 : bit == 4 ? kA * 0.62 : 0, v = -kB * 0.68;
    *x = int(std::lround(kCx + u * std::cos(kSlant) - v * std::sin(kSlant)));
    *y = int(std::lround(kCy + u * std::sin(kSlant) + v * std::cos(kSlant)));
}

Picture ButtonPicture(int mask)
{
    Picture p(kPictureWidth, kPictureHeight, kKey);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (!InBody(x, y)) continue;
            bool edge = !InBody(x - 1, y) || !InBody(x + 1, y) || !InBody(x, y - 1) || !InBody(x, y + 1);
            int button = ButtonAt(x, y);
            bool seam = button && (ButtonAt(x + 1, y) != button || ButtonAt(x, y + 1) != button);
            uint8_t colour = kSilver;
            if (edge || seam) colour = kBlack;
            else if (button && (mask & button)) colour = kNavy;
            p.set(x, y, colour);
        }
    // A circular dotted patch on the back.
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            double u, v;
            MouseAxes(x + 0.5, y + 0.5, &u, &v);
            if ((u * u + (v - 18) * (v - 18)) <= 100 && (x + y) % 3 == 0) p.set(x, y, kGrey);
        }
    // The cable rises from the front of the mouse to the top edge.
    int cx, cy;
    ButtonCentre(2, &cx, &cy);
    double fx = kCx + kB * std::sin(kSlant), fy = kCy - kB * std::cos(kSlant);
    for (int y = 0; y < int(fy); ++y) {
        int x = int(std::lround(fx + 6 * std::sin(y / 7.0)));
        p.set(x, y, kBlack);
        p.set(x + 1, y, kGrey);
    }
    // Leader lines from the buttons to the top edge.
    const int ends[3][2] = {{8, 0}, {0, 0}, {170, 0}};
    const int bits[3] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        int bx, by;
        ButtonCentre(bits[i], &bx, &by);
        Line(p, bx, by, i == 1 ? bx : ends[i][0], ends[i][1], kBlack);
    }
    // A speckled shadow at the lower left takes as many key pixels as leave
    // exactly kKeyPixels of them.
    int excess = Count(p, kKey) - kKeyPixels;
    for (int ring = 1; ring < 400 && excess > 0; ++ring)
        for (int y = 0; y < p.height && excess > 0; ++y)
            for (int x = 0; x < p.width && excess > 0; ++x) {
                if (p.at(x, y) != kKey || (x + 2 * y) % 3) continue;
                double u, v;
                MouseAxes(x + 0.5 + 7, y + 0.5 - 7, &u, &v);
                double d = (u / kA) * (u / kA) + (v / kB) * (v / kB);
                bool lowerLeft = x < kCx - kA * 0.2 && y > kCy - kB * 0.1;
                if (d <= 1.0 + ring * 0.02 && lowerLeft) {
                    p.set(x, y, ring % 2 ? kGrey : kSilver);
                    --excess;
                }
            }
    return p;
}

// --- The eye, 23 x 15: 201 of its 345 pixels are the key colour. ---

Picture Eye()
{
    Picture p(23, 15, kKey);
    const int keep = 201;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            double dx = (x - 11) / 9.5, dy = (y - 9) / 4.6;
            double r = dx * dx + dy * dy;
            if (r <= 1.0) p.set(x, y, r > 0.6 ? kBlack : kWhite);
        }
    for (int y = 6; y <= 12; ++y)
        for (int x = 8; x <= 14; ++x)
            if ((x - 11) * (x - 11) + (y - 9) * (y - 9) <= 9) p.set(x, y, kBlack);
    p.set(10, 8, kWhite);  // the highlight
    p.set(10, 9, kWhite);
    // The brow, thickened until the key colour covers exactly `keep` pixels.
    for (int row = 0; row < 4 && Count(p, kKey) > keep; ++row)
        for (int x = 2; x <= 20 && Count(p, kKey) > keep; ++x) {
            int y = 2 + row + int(std::lround(std::abs(x - 11) * 0.18));
            if (p.at(x, y) == kKey) p.set(x, y, kBlack);
        }
    return p;
}

// --- The maker's logo, 121 x 50: white lettering and mark on red, 235 colours. ---

std::vector<Rgb> LogoPalette()
{
    std::vector<Rgb> palette;
    for (int i = 0; i < 235; ++i) {
        uint8_t t = uint8_t(i * 255 / 234);
        palette.push_back({255, t, t});  // red to white, never the key colour
    }
    return palette;
}

// Strokes of the lettering "NELVO" and a diamond mark, in logo coordinates.
const double kStrokes[][4] = {
    {12, 14, 12, 36}, {12, 14, 24, 36}, {24, 14, 24, 36},                                  // N
    {32, 14, 32, 36}, {32, 14, 42, 14}, {32, 25, 40, 25}, {32, 36, 42, 36},                // E
    {50, 14, 50, 36}, {50, 36, 60, 36},                                                    // L
    {66, 14, 72, 36}, {72, 36, 78, 14},                                                    // V
    {86, 18, 90, 14}, {90, 14, 96, 14}, {96, 14, 100, 18}, {100, 18, 100, 32},             // O
    {100, 32, 96, 36}, {96, 36, 90, 36}, {90, 36, 86, 32}, {86, 32, 86, 18},
    {110, 6, 116, 12}, {116, 12, 110, 18}, {110, 18, 104, 12}, {104, 12, 110, 6},          // mark
};

double StrokeDistance(double x, double y)
{
    double best = 1e9;
    for (const auto &s : kStrokes) {
        double vx = s[2] - s[0], vy = s[3] - s[1], wx = x - s[0], wy = y - s[1];
        double t = std::max(0.0, std::min(1.0, (vx * wx + vy * wy) / (vx * vx + vy * vy)));
        double dx = wx - t * vx, dy = wy - t * vy;
        best = std::min(best, std::sqrt(dx * dx + dy * dy));
    }
    return best;
}

Picture Logo()
{
    Picture p(121, 50, 0);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            // Coverage of a 2-pixel-wide stroke, sampled 4 x 4 per pixel.
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    inside += StrokeDistance(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) <= 1.6;
            p.set(x, y, uint8_t(inside * 234 / 16));
        }
    return p;
}

// --- The test area's cat, 32 x 32, drowsy (104) or awake (105). ---

Picture Cat(bool awake)
{
    Picture p(32, 32);
    p.transparent.assign(p.pixels.size(), 1);
    auto fur = [](int x, int y) { return uint8_t(((x / 3) + (y / 3)) % 2 ? kRed : kYellow); };
    auto ellipse = [](int x, int y, double cx, double cy, double rx, double ry) {
        double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            bool body = ellipse(x, y, 16, 24, 9, 7.5);
            bool head = ellipse(x, y, 16, 12, 8, 7);
            bool ear = (y >= 2 && y <= 7) && ((x >= 9 && x <= 12 && x - 9 <= (y - 2)) || (x >= 20 && x <= 23 && 23 - x <= (y - 2)));
            bool tail = y >= 20 && y <= 29 && std::abs(x - (26 + (y - 20) / 3)) <= 1;
            if (body || head || ear || tail) p.set(x, y, fur(x, y));
        }
    // Outline where the cat meets what lies around it.
    Picture outlined = p;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (p.transparent[size_t(y) * 32 + x]) continue;
            for (int d = 0; d < 4; ++d) {
                int nx = x + (d == 0) - (d == 1), ny = y + (d == 2) - (d == 3);
                if (nx < 0 || ny < 0 || nx > 31 || ny > 31 || p.transparent[size_t(ny) * 32 + nx]) outlined.set(x, y, kBlack);
            }
        }
    p = outlined;
    if (awake) {
        for (int ex : {12, 20}) {
            for (int y = 9; y <= 13; ++y)
                for (int x = ex - 2; x <= ex + 2; ++x) p.set(x, y, kWhite);
            p.set(ex, 11, kBlack), p.set(ex, 12, kBlack), p.set(ex + 1, 11, kBlack), p.set(ex + 1, 12, kBlack);
        }
        // Sparkles above and beside the cat.
        for (const auto &s : {std::pair<int, int>{4, 3}, {28, 4}, {3, 16}, {29, 14}}) {
            p.set(s.first, s.second, kYellow);
            p.set(s.first - 1, s.second, kWhite), p.set(s.first + 1, s.second, kWhite);
            p.set(s.first, s.second - 1, kWhite), p.set(s.first, s.second + 1, kWhite);
        }
    } else {
        for (int ex : {12, 20}) {
            for (int x = ex - 2; x <= ex + 2; ++x) p.set(x, 11, kBlack);
            for (int x = ex - 1; x <= ex + 1; ++x) p.set(x, 12, kGreen);
        }
    }
    p.set(16, 15, kBlack);  // nose
    if (!awake) {
        // The tongue hangs out, a red drop edged in black.
        for (int y = 16; y <= 19; ++y) {
            p.set(15, y, kBlack), p.set(18, y, kBlack);
            p.set(16, y, kRed), p.set(17, y, kRed);
        }
        p.set(16, 20, kBlack), p.set(17, 20, kBlack);
    }
    return p;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) return 2;
    std::string dir = std::string(argv[1]) + "/";
    bool ok = WriteBitmap(dir + "eye.bmp", Eye(), kVgaPalette, 4) && WriteBitmap(dir + "logo.bmp", Logo(), LogoPalette(), 8);
    for (int mask = 0; mask < 8 && ok; ++mask)
        ok = WriteBitmap(dir + "buttons" + std::to_string(mask) + ".bmp", ButtonPicture(mask), kVgaPalette, 4);
    ok = ok && WriteIcon(dir + "cat_drowsy.ico", {Cat(false)}, kVgaPalette) &&
         WriteIcon(dir + "cat_awake.ico", {Cat(true)}, kVgaPalette);
    Picture eye = Eye(), buttons = ButtonPicture(0);
    std::printf("key pixels: eye %d of %d, buttons %d of %d\n", Count(eye, kKey), eye.width * eye.height,
                Count(buttons, kKey), buttons.width * buttons.height);
    return ok ? 0 : 1;
}

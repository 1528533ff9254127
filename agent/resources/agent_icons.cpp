// Draws the agent's icons, a grey mouse with a red left button and its cable,
// and writes them as icon files: agent.ico (32 x 32) and agent_small.ico
// (16 x 16), 16 colours each. Run by the build: agent_icons OUTPUT_DIR.
#include <algorithm>
#include <cmath>
#include <string>

#include "pixel_art.h"

static Picture DrawMouse(int size)
{
    Picture p(size, size);
    p.transparent.assign(p.pixels.size(), 1);
    const double s = size;
    const double cx = s / 2, cy = s * 0.6, rx = s * 0.3, ry = s * 0.36;
    auto inside = [&](int x, int y) {
        double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    const int buttonsEnd = int(cy - ry * 0.15);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (!inside(x, y)) continue;
            bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            uint8_t colour = kSilver;
            if (edge) colour = kBlack;
            else if (y == buttonsEnd) colour = kBlack;
            else if (y < buttonsEnd && x == size / 2) colour = kBlack;
            else if (y < buttonsEnd && x < size / 2) colour = kRed;
            else if (y > buttonsEnd && x > cx + rx * 0.35) colour = kGrey;  // shading on the right
            else if (y < buttonsEnd) colour = kWhite;
            p.set(x, y, colour);
        }
    // The cable leaves the top of the body in a gentle curve.
    const int top = int(cy - ry);
    auto cableX = [&](int y) { return size / 2 + int(std::lround(std::sin(y * 6.2832 / (top + 1)) * s / 10)); };
    for (int y = 0; y < top; ++y) {
        int from = cableX(y), to = y + 1 < top ? cableX(y + 1) : size / 2;
        for (int x = std::min(from, to); x <= std::max(from, to); ++x) p.set(x, y, kBlack);
    }
    return p;
}

int main(int argc, char **argv)
{
    if (argc != 2) return 2;
    std::string dir = argv[1];
    bool ok = WriteIcon(dir + "/agent.ico", {DrawMouse(32)}, kVgaPalette) &&
              WriteIcon(dir + "/agent_small.ico", {DrawMouse(16)}, kVgaPalette);
    return ok ? 0 : 1;
}

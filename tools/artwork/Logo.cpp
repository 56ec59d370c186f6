#include "Art.h"

#include <cmath>
#include <string>

namespace art
{
namespace
{

// A 5 x 7 font of the letters the logo needs, one string per row.
struct Glyph {
    char letter;
    const char* rows[7];
};

constexpr Glyph kFont[] = {
    { 'O', { ".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###." } },
    { 'R', { "####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#" } },
    { 'V', { "#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.." } },
    { 'A', { ".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#" } },
    { 'L', { "#....", "#....", "#....", "#....", "#....", "#....", "#####" } },
    { 'E', { "#####", "#....", "#....", "####.", "#....", "#....", "#####" } },
    { 'N', { "#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#" } },
};

const Glyph* glyphFor(char c)
{
    for (const Glyph& g : kFont)
        if (g.letter == c)
            return &g;
    return nullptr;
}

} // namespace

std::vector<std::uint8_t> logoPixels()
{
    const int w = kLogoWidth, h = kLogoHeight;
    std::vector<std::uint8_t> rgb(static_cast<size_t>(w * h * 3));
    auto set = [&](int x, int y, int r, int g, int b) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        std::uint8_t* p = &rgb[static_cast<size_t>((y * w + x) * 3)];
        p[0] = static_cast<std::uint8_t>(r);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(b);
    };

    // Background: a dark blue that brightens to the right.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            set(x, y, 16 + x / 6, 32 + x / 3, 80 + x / 2);

    // The globe with two meridians and the equator.
    const int cx = 15, cy = 20, r = 13;
    for (int y = cy - r; y <= cy + r; ++y) {
        for (int x = cx - r; x <= cx + r; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d > r)
                continue;
            const double dx = (x - cx) / double(r);
            const bool line = y == cy || std::abs(std::abs(dx) - 0.5) < 0.06 || d > r - 1.2;
            if (line)
                set(x, y, 230, 240, 255);
            else
                set(x, y, 30 + static_cast<int>(60 * (1 - d / r)), 110, 200);
        }
    }

    // The name, each font pixel drawn as a 3 x 3 block with a shadow.
    const std::string name = "ORVALEN";
    const int scale = 2, top = 13;
    int left = 31;
    for (char c : name) {
        const Glyph* g = glyphFor(c);
        for (int row = 0; row < 7 && g; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (g->rows[row][col] != '#')
                    continue;
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        set(left + col * scale + dx + 1, top + row * scale + dy + 1, 8, 16, 40);
                        set(left + col * scale + dx, top + row * scale + dy, 255, 214, 90);
                    }
                }
            }
        }
        left += 5 * scale + 1;
    }
    return rgb;
}

} // namespace art

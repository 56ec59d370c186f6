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

std::vector<std::uint8_t> logoPixels(int k)
{
    // Everything is laid out on the 110 x 41 grid and drawn k times finer.
    k = k < 1 ? 1 : k;
    const int w = kLogoWidth * k, h = kLogoHeight * k;
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
            set(x, y, 16 + x / k / 6, 32 + x / k / 3, 80 + x / k / 2);

    // The globe with two meridians and the equator.
    const int cx = 15 * k, cy = 20 * k, r = 13 * k;
    for (int y = cy - r; y <= cy + r; ++y) {
        for (int x = cx - r; x <= cx + r; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d > r)
                continue;
            const double dx = (x - cx) / double(r);
            const bool line = std::abs(y - cy) < k || std::abs(std::abs(dx) - 0.5) < 0.06 || d > r - 1.2 * k;
            if (line)
                set(x, y, 230, 240, 255);
            else
                set(x, y, 30 + static_cast<int>(60 * (1 - d / r)), 110, 200);
        }
    }

    // The name, each font pixel drawn as a 3 x 3 block with a shadow.
    const std::string name = "ORVALEN";
    const int scale = 2 * k, top = 13 * k;
    int left = 31 * k;
    for (char c : name) {
        const Glyph* g = glyphFor(c);
        for (int row = 0; row < 7 && g; ++row) {
            for (int col = 0; col < 5; ++col) {
                if (g->rows[row][col] != '#')
                    continue;
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        set(left + col * scale + dx + k, top + row * scale + dy + k, 8, 16, 40);
                        set(left + col * scale + dx, top + row * scale + dy, 255, 214, 90);
                    }
                }
            }
        }
        left += 5 * scale + k;
    }
    return rgb;
}

} // namespace art

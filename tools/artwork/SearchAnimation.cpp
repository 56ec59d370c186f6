#include "Art.h"

#include <cmath>
#include <numbers>

namespace art
{
namespace
{

constexpr int kWidth = 110;
constexpr int kHeight = 41;
constexpr int kFrames = 30;
constexpr int kTurn = 23;

// Palette: 0..43 the background rows, then the drawing colours.
constexpr std::uint8_t kOcean = 200, kLand = 201, kRim = 202, kLens = 203, kHandle = 204, kResult = 205,
                       kResultLit = 206;

std::vector<std::uint32_t> palette()
{
    std::vector<std::uint32_t> colours(256, 0);
    for (int row = 0; row < kHeight; ++row) {
        const int t = row * 255 / (kHeight - 1);
        colours[static_cast<size_t>(row)]
            = static_cast<std::uint32_t>((16 + t * 16 / 255) << 16 | (32 + t * 48 / 255) << 8 | (64 + t * 96 / 255));
    }
    colours[kOcean] = 0x1E64C8;
    colours[kLand] = 0x3CA050;
    colours[kRim] = 0xD8D8E0;
    colours[kLens] = 0x9CC8F0;
    colours[kHandle] = 0x8C5A28;
    colours[kResult] = 0x6080B0;
    colours[kResultLit] = 0xFFE070;
    return colours;
}

// Land where a few slow waves of longitude and latitude add up.
bool isLand(double longitude, double latitude)
{
    const double v = std::sin(3 * longitude) * std::cos(2 * latitude) + 0.6 * std::sin(5 * longitude + 1.3)
        + 0.5 * std::cos(4 * latitude + longitude);
    return v > 0.55;
}

} // namespace

orv::AviClipData searchAnimation()
{
    orv::AviClipData clip;
    clip.width = kWidth;
    clip.height = kHeight;
    clip.microsecondsPerFrame = 100000;
    clip.palette = palette();
    const double pi = std::numbers::pi;

    for (int f = 0; f < kFrames; ++f) {
        std::vector<std::uint8_t> px(static_cast<size_t>(kWidth * kHeight));
        auto at = [&](int x, int y) -> std::uint8_t& { return px[static_cast<size_t>(y * kWidth + x)]; };
        const double phase = 2 * pi * (f % kTurn) / kTurn;

        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                at(x, y) = static_cast<std::uint8_t>(y);

        // Results: four rows of bars on the left; the one under the lens lights up.
        const double lensX = 14 + 42 * (0.5 - 0.5 * std::cos(phase));
        const double lensY = 20 + 7 * std::sin(phase);
        for (int line = 0; line < 4; ++line) {
            const int y = 7 + line * 8;
            const int length = 44 + (line * 13) % 17;
            for (int x = 5; x < 5 + length; ++x) {
                const bool lit = std::abs(y + 1 - lensY) < 6 && std::abs(x - lensX) < 12;
                at(x, y) = at(x, y + 1) = lit ? kResultLit : kResult;
            }
        }

        // The globe, turning one meridian step per frame.
        const int cx = 91, cy = 20, r = 16;
        for (int y = cy - r; y <= cy + r; ++y) {
            for (int x = cx - r; x <= cx + r; ++x) {
                const double dx = (x - cx) / double(r), dy = (y - cy) / double(r);
                if (dx * dx + dy * dy > 1)
                    continue;
                const double latitude = std::asin(dy);
                const double longitude = std::asin(dx / std::max(std::cos(latitude), 1e-6)) + phase;
                at(x, y) = isLand(longitude, latitude) ? kLand : kOcean;
            }
        }

        // The magnifying glass: lens, rim and handle.
        const int lr = 8;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double d = std::hypot(x - lensX, y - lensY);
                if (d < lr - 2 && at(x, y) < kOcean)
                    at(x, y) = kLens;
                else if (d >= lr - 2 && d < lr)
                    at(x, y) = kRim;
                const double along = (x - lensX + y - lensY) / std::sqrt(2.0);
                const double across = (x - lensX - (y - lensY)) / std::sqrt(2.0);
                if (along > lr && along < lr + 8 && std::abs(across) < 2)
                    at(x, y) = kHandle;
            }
        }
        clip.frames.push_back(std::move(px));
    }
    return clip;
}

} // namespace art

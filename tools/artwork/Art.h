#pragma once
// The pictures of the artwork tool, drawn in code.
#include "platform/AviWriter.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace art
{

// The search animation: a globe turning under a magnifying glass that
// sweeps across a list of results, 110 x 41 (the logo's place in the
// toolbar), 30 frames at 10 per second.
// One turn takes 23 frames, so a player stopping at frame 23 loops smoothly.
orv::AviClipData searchAnimation();

// The toolbar logo, 110 x 41, as RGB bytes, top row first.
inline constexpr int kLogoWidth = 110;
inline constexpr int kLogoHeight = 41;
// `k` draws it k times finer (220 x 82 for k = 2), for screens scaled 150%
// and more.
std::vector<std::uint8_t> logoPixels(int k = 1);

// The icon of the desktop menu, `size` pixels square, with transparency.
QImage programIcon(int size);

// The sizes the icon is installed in (hicolor theme folders NxN).
inline constexpr int kIconSizes[] = { 48, 64, 128, 256 };

} // namespace art

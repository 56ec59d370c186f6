#pragma once
// Writes a silent AVI clip of 8-bit palette frames, uncompressed or RLE8:
// the build's artwork tool makes the search animation with it, and the
// reader's tests make their clips with it.
#include <cstdint>
#include <string>
#include <vector>

namespace orv
{

struct AviClipData {
    int width = 0;
    int height = 0;
    std::uint32_t microsecondsPerFrame = 100000;
    std::vector<std::uint32_t> palette; // up to 256 colours 0xRRGGBB
    std::vector<std::vector<std::uint8_t>> frames; // width * height indices each, top row first
};

enum class AviEncoding { Uncompressed, Rle8 };

// The bytes of the whole RIFF file, with an idx1 index.
std::string writeAvi(const AviClipData& clip, AviEncoding encoding);

// RLE8 encoding of one frame (bottom row first, as stored), ending with the
// end-of-picture mark.
std::string encodeRle8(const std::vector<std::uint8_t>& frame, int width, int height);

} // namespace orv

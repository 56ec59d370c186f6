// libFuzzer target for the AVI reader. The first input byte picks the mode:
//  - even: the rest is a file. A file the reader takes must decode every
//    frame into width x height opaque pixels of its palette, and decoding a
//    frame must give the same picture whether the frames before it were
//    decoded in order or not (RLE8 frames build on the ones before them);
//  - odd: the rest describes a small clip (size, palette, pixels), which is
//    written in both encodings and must read back pixel for pixel.
#include "platform/AviReader.h"
#include "platform/AviWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Work per input stays small: large pictures decode only a few frames.
constexpr size_t kPixelBudget = size_t { 1 } << 21;

std::vector<std::vector<std::uint32_t>> decodeInOrder(orv::AviReader& reader, int frames)
{
    std::vector<std::vector<std::uint32_t>> out;
    for (int i = 0; i < frames; ++i)
        out.push_back(reader.frame(i));
    return out;
}

void checkReadable(const std::string& bytes)
{
    orv::AviReader reader = orv::AviReader::fromBytes(bytes);
    const int w = reader.width();
    const int h = reader.height();
    require(w > 0 && h > 0 && w <= 4096 && h <= 4096);
    const size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
    const int frames = static_cast<int>(std::min<size_t>(
        static_cast<size_t>(reader.frameCount()), std::max<size_t>(1, kPixelBudget / pixels)));
    if (frames == 0)
        return;
    const auto inOrder = decodeInOrder(reader, frames);
    for (const auto& picture : inOrder) {
        require(picture.size() == pixels);
        for (std::uint32_t p : picture)
            require((p & 0xFF000000u) == 0xFF000000u);
    }
    // Backwards, on a fresh reader and on the one that went forwards.
    orv::AviReader fresh = orv::AviReader::fromBytes(bytes);
    for (int i = frames - 1; i >= 0; i -= std::max(1, frames / 4)) {
        require(fresh.frame(i) == inOrder[static_cast<size_t>(i)]);
        require(reader.frame(i) == inOrder[static_cast<size_t>(i)]);
    }
}

void checkRawFile(const std::string& bytes)
{
    try {
        checkReadable(bytes);
    } catch (const orv::EAviError&) {
        // Not a clip this reader plays: a clear error is the right answer.
    }
}

// A clip from the input: width, height, palette size, frame count, then
// the pixels (cycled when the input runs short).
void checkWrittenClip(const uint8_t* data, size_t size)
{
    if (size < 4)
        return;
    orv::AviClipData clip;
    clip.width = 1 + data[0] % 24;
    clip.height = 1 + data[1] % 24;
    const size_t colours = 1 + data[2] % 256;
    const size_t frames = data[3] % 6;
    data += 4;
    size -= 4;
    for (size_t i = 0; i < colours; ++i)
        clip.palette.push_back(static_cast<std::uint32_t>(i * 0x010203u) & 0xFFFFFFu);
    const size_t area = static_cast<size_t>(clip.width) * static_cast<size_t>(clip.height);
    for (size_t f = 0; f < frames; ++f) {
        std::vector<std::uint8_t> pixels(area);
        for (size_t i = 0; i < area; ++i)
            pixels[i] = size == 0 ? 0 : static_cast<std::uint8_t>(data[(f * area + i) % size] % colours);
        clip.frames.push_back(std::move(pixels));
    }
    for (orv::AviEncoding encoding : { orv::AviEncoding::Uncompressed, orv::AviEncoding::Rle8 }) {
        orv::AviReader reader = orv::AviReader::fromBytes(orv::writeAvi(clip, encoding));
        require(reader.width() == clip.width && reader.height() == clip.height);
        require(reader.frameCount() == static_cast<int>(frames));
        for (size_t f = 0; f < frames; ++f) {
            const std::vector<std::uint32_t> picture = reader.frame(static_cast<int>(f));
            require(picture.size() == area);
            for (size_t i = 0; i < area; ++i)
                require(picture[i] == (0xFF000000u | clip.palette[clip.frames[f][i]]));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0)
        checkRawFile(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    else
        checkWrittenClip(data + 1, size - 1);
    return 0;
}

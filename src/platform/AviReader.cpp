#include "platform/AviReader.h"

#include "core/Lines.h"

#include <algorithm>
#include <cstring>

namespace orv
{
namespace
{

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr int kMaxRecordListDepth = 8;

std::uint32_t u32(const std::string& b, size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at]))
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16
        | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(const std::string& b, size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

bool fourcc(const std::string& b, size_t at, const char* code)
{
    return b.compare(at, 4, code) == 0;
}

[[noreturn]] void invalid(const char* why)
{
    throw EAviError(std::string("Invalid AVI file: ") + why);
}

// Walks the chunks of one RIFF list body [begin, end). `visit` gets the
// chunk's code offset, data offset and data size; a chunk that runs past
// `end` stops the walk and is reported with `cut` set.
template <typename Visit> void walkChunks(const std::string& b, size_t begin, size_t end, Visit visit)
{
    size_t at = begin;
    while (at + 8 <= end) {
        const size_t size = u32(b, at + 4);
        const size_t data = at + 8;
        const bool cut = size > end - data;
        if (!visit(at, data, cut ? end - data : size, cut) || cut)
            return;
        at = data + size + (size & 1);
    }
}

} // namespace

AviReader AviReader::open(const std::string& path)
{
    return fromBytes(LoadFileBytes(path));
}

AviReader AviReader::fromBytes(std::string bytes)
{
    AviReader reader;
    reader.bytes_ = std::move(bytes);
    reader.parseHeaders();
    return reader;
}

void AviReader::parseHeaders()
{
    const std::string& b = bytes_;
    if (b.size() < 12 || !fourcc(b, 0, "RIFF") || !fourcc(b, 8, "AVI "))
        invalid("not a RIFF AVI file");
    const size_t end = std::min(b.size(), static_cast<size_t>(u32(b, 4)) + 8);

    bool haveMain = false, haveFormat = false, haveMovie = false;
    walkChunks(b, 12, end, [&](size_t code, size_t data, size_t size, bool cut) {
        if (fourcc(b, code, "LIST") && size >= 4 && fourcc(b, data, "hdrl")) {
            if (cut)
                invalid("headers cut off");
            walkChunks(b, data + 4, data + size, [&](size_t c, size_t d, size_t s, bool) {
                if (fourcc(b, c, "avih") && s >= 40) {
                    microsecondsPerFrame_ = u32(b, d);
                    haveMain = true;
                } else if (fourcc(b, c, "LIST") && s >= 4 && fourcc(b, d, "strl") && !haveFormat) {
                    bool video = false;
                    walkChunks(b, d + 4, d + s, [&](size_t c2, size_t d2, size_t s2, bool) {
                        if (fourcc(b, c2, "strh") && s2 >= 4)
                            video = fourcc(b, d2, "vids");
                        else if (fourcc(b, c2, "strf") && video && s2 >= 40) {
                            const std::int32_t w = static_cast<std::int32_t>(u32(b, d2 + 4));
                            const std::int32_t h = static_cast<std::int32_t>(u32(b, d2 + 8));
                            const std::uint16_t bits = u16(b, d2 + 14);
                            const std::uint32_t compression = u32(b, d2 + 16);
                            std::uint32_t colours = u32(b, d2 + 32);
                            const std::uint32_t headerSize = u32(b, d2 + 0);
                            if (bits != 8 || (compression != kRgb && compression != kRle8))
                                throw EAviError("Unsupported AVI format: only 8-bit uncompressed or RLE8 clips play");
                            if (w <= 0 || h == 0 || w > 4096 || h > 4096 || h < -4096)
                                invalid("bad frame size");
                            if (compression == kRle8 && h < 0)
                                invalid("top-down RLE8 frames");
                            width_ = w;
                            height_ = h < 0 ? -h : h;
                            bottomUp_ = h > 0;
                            rle_ = compression == kRle8;
                            if (colours == 0 || colours > 256)
                                colours = 256;
                            palette_.assign(256, 0xFF000000u);
                            const size_t table = d2 + headerSize;
                            if (headerSize < 40 || table > d2 + s2)
                                invalid("bad format header");
                            for (std::uint32_t i = 0; i < colours && table + 4 * i + 4 <= d2 + s2; ++i)
                                palette_[i] = 0xFF000000u | (u32(b, table + 4 * i) & 0x00FFFFFFu);
                            haveFormat = true;
                        }
                        return true;
                    });
                }
                return true;
            });
        } else if (fourcc(b, code, "LIST") && size >= 4 && fourcc(b, data, "movi")) {
            haveMovie = true;
            const size_t frameBytes = static_cast<size_t>((width_ + 3) / 4 * 4) * static_cast<size_t>(height_);
            // Frames may sit directly in the list or inside 'rec ' lists.
            // Clips nest those one deep; lists nested deeper than a few
            // levels are skipped, so that no file can exhaust the stack.
            auto collect = [&](auto& self, size_t from, size_t to, int depth) -> void {
                walkChunks(b, from, to, [&](size_t c, size_t d, size_t s, bool chunkCut) {
                    if (fourcc(b, c, "LIST") && s >= 4 && fourcc(b, d, "rec ")) {
                        if (depth < kMaxRecordListDepth)
                            self(self, d + 4, d + s, depth + 1);
                    } else if (b.compare(c + 2, 2, "db") == 0 || b.compare(c + 2, 2, "dc") == 0) {
                        if (chunkCut)
                            return false; // the file ends inside this frame
                        if (!rle_ && s != 0 && s < frameBytes)
                            return true; // a short uncompressed frame cannot be shown
                        frames_.push_back({ d, s });
                    }
                    return true;
                });
            };
            if (!haveFormat)
                invalid("movie data before the stream format");
            collect(collect, data + 4, data + size, 0);
        }
        return true;
    });
    if (!haveMain || !haveFormat)
        invalid("headers missing or cut off");
    if (!haveMovie)
        invalid("no movie data");
    canvas_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
}

void AviReader::decodeInto(const Chunk& chunk)
{
    const std::string& b = bytes_;
    const size_t w = static_cast<size_t>(width_);
    const size_t h = static_cast<size_t>(height_);
    // Canvas rows are top first; file rows are bottom first when bottomUp_.
    auto rowAt = [&](size_t fileRow) { return bottomUp_ ? h - 1 - fileRow : fileRow; };
    if (chunk.size == 0)
        return; // an empty frame repeats the one before
    if (!rle_) {
        const size_t stride = (w + 3) / 4 * 4;
        for (size_t r = 0; r < h; ++r)
            std::memcpy(&canvas_[rowAt(r) * w], b.data() + chunk.offset + r * stride, w);
        return;
    }
    // RLE8: pairs (count, index) repeat a colour; (0, 0) ends a line,
    // (0, 1) ends the picture, (0, 2, dx, dy) skips, (0, n >= 3) copies n
    // literal indices padded to a 16-bit boundary. Skipped pixels keep the
    // previous frame's colour. Anything running off the picture is clipped.
    size_t at = chunk.offset;
    const size_t end = chunk.offset + chunk.size;
    size_t x = 0, row = 0;
    auto put = [&](std::uint8_t index) {
        if (x < w && row < h)
            canvas_[rowAt(row) * w + x] = index;
        ++x;
    };
    while (at + 2 <= end && row < h) {
        const std::uint8_t first = static_cast<std::uint8_t>(b[at]);
        const std::uint8_t second = static_cast<std::uint8_t>(b[at + 1]);
        at += 2;
        if (first > 0) {
            for (int i = 0; i < first; ++i)
                put(second);
        } else if (second == 0) {
            x = 0;
            ++row;
        } else if (second == 1) {
            break;
        } else if (second == 2) {
            if (at + 2 > end)
                break;
            x += static_cast<std::uint8_t>(b[at]);
            row += static_cast<std::uint8_t>(b[at + 1]);
            at += 2;
        } else {
            const size_t count = std::min<size_t>(second, end - at);
            for (size_t i = 0; i < count; ++i)
                put(static_cast<std::uint8_t>(b[at + i]));
            at += second + (second & 1);
        }
    }
}

std::vector<std::uint32_t> AviReader::frame(int index)
{
    if (index < 0 || index >= frameCount())
        throw EAviError("AVI frame " + std::to_string(index) + " out of range");
    // Uncompressed frames stand alone, except empty ones, which repeat the
    // last frame with data; RLE8 frames build on everything before them.
    int from = index;
    if (rle_) {
        from = decoded_ >= 0 && decoded_ <= index ? decoded_ + 1 : 0;
        if (from == 0)
            std::fill(canvas_.begin(), canvas_.end(), 0);
    } else {
        while (from > 0 && frames_[static_cast<size_t>(from)].size == 0)
            --from;
        if (frames_[static_cast<size_t>(from)].size == 0)
            std::fill(canvas_.begin(), canvas_.end(), 0);
    }
    for (int i = from; i <= index; ++i)
        decodeInto(frames_[static_cast<size_t>(i)]);
    decoded_ = index;

    std::vector<std::uint32_t> pixels(canvas_.size());
    for (size_t i = 0; i < canvas_.size(); ++i)
        pixels[i] = palette_[canvas_[i]];
    return pixels;
}

} // namespace orv

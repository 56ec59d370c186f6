#include "platform/AviWriter.h"

#include <stdexcept>

namespace orv
{
namespace
{

void put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void put16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

std::string chunk(const char* code, const std::string& data)
{
    std::string out(code, 4);
    put32(out, static_cast<std::uint32_t>(data.size()));
    out += data;
    if (data.size() & 1)
        out += '\0';
    return out;
}

std::string list(const char* type, const std::string& body)
{
    return chunk("LIST", std::string(type, 4) + body);
}

std::string uncompressed(const std::vector<std::uint8_t>& frame, int width, int height)
{
    const size_t w = static_cast<size_t>(width);
    const size_t stride = (w + 3) / 4 * 4;
    std::string out;
    for (int row = height - 1; row >= 0; --row) {
        out.append(reinterpret_cast<const char*>(&frame[static_cast<size_t>(row) * w]), w);
        out.append(stride - w, '\0');
    }
    return out;
}

} // namespace

std::string encodeRle8(const std::vector<std::uint8_t>& frame, int width, int height)
{
    const size_t w = static_cast<size_t>(width);
    std::string out;
    for (int row = height - 1; row >= 0; --row) {
        const std::uint8_t* line = &frame[static_cast<size_t>(row) * w];
        size_t x = 0;
        while (x < w) {
            size_t run = 1;
            while (x + run < w && run < 255 && line[x + run] == line[x])
                ++run;
            out += static_cast<char>(run);
            out += static_cast<char>(line[x]);
            x += run;
        }
        if (row > 0)
            out.append("\0\0", 2);
    }
    out.append("\0\1", 2);
    return out;
}

std::string writeAvi(const AviClipData& clip, AviEncoding encoding)
{
    if (clip.width <= 0 || clip.height <= 0 || clip.palette.size() > 256)
        throw std::invalid_argument("writeAvi: bad clip");
    const bool rle = encoding == AviEncoding::Rle8;
    const std::uint32_t frameCount = static_cast<std::uint32_t>(clip.frames.size());
    const std::uint32_t w = static_cast<std::uint32_t>(clip.width);
    const std::uint32_t h = static_cast<std::uint32_t>(clip.height);
    const std::uint32_t imageSize = (w + 3) / 4 * 4 * h;

    std::string avih;
    for (std::uint32_t v : { clip.microsecondsPerFrame, 0u, 0u, 0x10u /* has index */, frameCount, 0u, 1u, imageSize, w,
             h, 0u, 0u, 0u, 0u })
        put32(avih, v);

    std::string strh = "vids";
    strh += rle ? "mrle" : "DIB ";
    for (std::uint32_t v : { 0u, 0u, 0u, clip.microsecondsPerFrame, 1000000u, 0u, frameCount, imageSize, 0u, 0u })
        put32(strh, v);
    put16(strh, 0);
    put16(strh, 0);
    put16(strh, static_cast<std::uint16_t>(w));
    put16(strh, static_cast<std::uint16_t>(h));

    std::string strf;
    for (std::uint32_t v : { 40u, w, h })
        put32(strf, v);
    put16(strf, 1);
    put16(strf, 8);
    for (std::uint32_t v : { rle ? 1u : 0u, imageSize, 0u, 0u, static_cast<std::uint32_t>(clip.palette.size()), 0u })
        put32(strf, v);
    for (std::uint32_t rgb : clip.palette)
        put32(strf, rgb & 0x00FFFFFFu); // blue, green, red, 0 in file order

    std::string movi, index;
    std::uint32_t offset = 4;
    for (const auto& frame : clip.frames) {
        if (frame.size() != static_cast<size_t>(w) * h)
            throw std::invalid_argument("writeAvi: frame of the wrong size");
        const std::string data
            = rle ? encodeRle8(frame, clip.width, clip.height) : uncompressed(frame, clip.width, clip.height);
        const char* code = rle ? "00dc" : "00db";
        index += code;
        put32(index, 0x10); // key frame
        put32(index, offset);
        put32(index, static_cast<std::uint32_t>(data.size()));
        const std::string c = chunk(code, data);
        movi += c;
        offset += static_cast<std::uint32_t>(c.size());
    }

    const std::string body = "AVI "
        + list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)))
        + list("movi", movi) + chunk("idx1", index);
    std::string out = "RIFF";
    put32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

} // namespace orv

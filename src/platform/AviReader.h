#pragma once
// Reads a silent AVI clip (a RIFF file) with one video stream of 8 bits per
// pixel, uncompressed or RLE8, and decodes its frames one at a time into
// 32-bit pixels. The animation widget plays what this reads.
#include "core/Errors.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv
{

// A file that is not a clip this reader can play.
class EAviError : public Exception
{
public:
    using Exception::Exception;
};

class AviReader
{
public:
    // Reads the clip's headers and finds its frames. A frame whose data was
    // cut off by the end of the file is dropped; a file cut inside its
    // headers, or one that is not an 8-bit video clip, throws EAviError. A
    // file that cannot be read throws EInOutError.
    static AviReader open(const std::string& path);
    static AviReader fromBytes(std::string bytes);

    int width() const { return width_; }
    int height() const { return height_; }
    int frameCount() const { return static_cast<int>(frames_.size()); }
    // Display time of one frame, from the main header.
    std::uint32_t microsecondsPerFrame() const { return microsecondsPerFrame_; }
    bool runLengthEncoded() const { return rle_; }

    // Frame `index` (0-based) as width() * height() pixels 0xFFRRGGBB, top
    // row first. RLE8 frames that change only part of the picture build on
    // the frames before them, so decoding goes through them as needed.
    std::vector<std::uint32_t> frame(int index);

private:
    struct Chunk {
        size_t offset; // of the data, in bytes_
        size_t size;
    };

    void parseHeaders();
    void decodeInto(const Chunk& chunk);

    std::string bytes_;
    int width_ = 0;
    int height_ = 0;
    bool bottomUp_ = true;
    bool rle_ = false;
    std::uint32_t microsecondsPerFrame_ = 0;
    std::vector<std::uint32_t> palette_;
    std::vector<Chunk> frames_;

    std::vector<std::uint8_t> canvas_; // palette indices, top row first
    int decoded_ = -1; // frame the canvas holds
};

} // namespace orv

#pragma once
// Decoding a "Transfer-Encoding: chunked" body, free of sockets: bytes in,
// body pieces out, with every length bounded so that a hostile peer can
// neither overflow a size nor grow a buffer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace orv
{

class ChunkedDecoder
{
public:
    // A size line (size and extensions) or a trailer line longer than this
    // fails; so does a trailer longer than kMaxTrailerBytes in all.
    static constexpr size_t kMaxLineBytes = 4096;
    static constexpr size_t kMaxTrailerBytes = 64 * 1024;
    // Chunk sizes above this are refused rather than added up.
    static constexpr uint64_t kMaxChunkSize = uint64_t(1) << 60;

    enum class Result {
        More, // every byte taken, the body goes on
        Done, // the last chunk and the trailer are complete
        Error, // Error() names the reason; nothing more is taken
    };
    // Pieces of the body, pointing into the bytes fed.
    using Sink = std::function<void(const char* data, size_t len)>;

    // Takes bytes that follow the header or the last call; `used` tells how
    // many were taken (less than `len` only on Done: the rest is not part of
    // this body). After Done or Error every call returns the same.
    Result Feed(const char* data, size_t len, size_t& used, const Sink& body);

    Result State() const { return result_; }
    const std::string& Error() const { return error_; }

private:
    enum class Phase { Size, Extension, SizeEnd, Data, DataCr, DataLf, Trailer };
    Result Fail(const std::string& reason);
    Result LineByte(char c); // a byte of a size line's end or a trailer line

    Phase phase_ = Phase::Size;
    Result result_ = Result::More;
    std::string error_;
    uint64_t size_ = 0; // of the chunk being read
    int sizeDigits_ = 0;
    uint64_t left_ = 0; // bytes of the chunk still to come
    size_t lineBytes_ = 0; // of the current size or trailer line
    size_t trailerBytes_ = 0;
    bool lastChunk_ = false;
    bool sawCr_ = false;
};

} // namespace orv

#include "net/ChunkedDecoder.h"

#include <algorithm>

namespace orv
{
namespace
{

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

ChunkedDecoder::Result ChunkedDecoder::Fail(const std::string& reason)
{
    error_ = "Invalid chunked body: " + reason;
    result_ = Result::Error;
    return result_;
}

// The end of a size line (after its digits and extensions) and the trailer
// lines: CR LF, or a bare LF as lenient peers send.
ChunkedDecoder::Result ChunkedDecoder::LineByte(char c)
{
    if (c == '\n') {
        const bool emptyLine = lineBytes_ == 0;
        lineBytes_ = 0;
        sawCr_ = false;
        if (phase_ == Phase::Trailer) {
            if (emptyLine)
                result_ = Result::Done;
            return result_;
        }
        if (lastChunk_) {
            phase_ = Phase::Trailer;
            return result_;
        }
        left_ = size_;
        phase_ = Phase::Data;
        return result_;
    }
    if (sawCr_)
        return Fail("a line end that is not CR LF");
    if (c == '\r') {
        sawCr_ = true;
        return result_;
    }
    if (phase_ == Phase::SizeEnd)
        return Fail("a size line that goes on after its line end");
    if (phase_ == Phase::Trailer) {
        if (++trailerBytes_ > kMaxTrailerBytes)
            return Fail("a trailer longer than " + std::to_string(kMaxTrailerBytes) + " bytes");
        if (++lineBytes_ > kMaxLineBytes)
            return Fail("a trailer line longer than " + std::to_string(kMaxLineBytes) + " bytes");
    }
    return result_;
}

ChunkedDecoder::Result ChunkedDecoder::Feed(const char* data, size_t len, size_t& used, const Sink& body)
{
    used = 0;
    while (used < len && result_ == Result::More) {
        const char c = data[used];
        switch (phase_) {
        case Phase::Size: {
            const int v = hexValue(c);
            if (v >= 0) {
                if (size_ > (kMaxChunkSize >> 4))
                    return Fail("a chunk size that overflows");
                size_ = size_ << 4 | static_cast<uint64_t>(v);
                ++sizeDigits_;
                ++used;
                if (++lineBytes_ > kMaxLineBytes)
                    return Fail("a size line longer than " + std::to_string(kMaxLineBytes) + " bytes");
                continue;
            }
            if (sizeDigits_ == 0)
                return Fail("a chunk without a size");
            lastChunk_ = size_ == 0;
            phase_ = c == ';' || c == ' ' || c == '\t' ? Phase::Extension : Phase::SizeEnd;
            if (phase_ == Phase::SizeEnd && c != '\r' && c != '\n')
                return Fail("a chunk size followed by '" + std::string(1, c) + "'");
            continue; // the byte is read again in its new phase
        }
        case Phase::Extension:
            if (c == '\r' || c == '\n') {
                phase_ = Phase::SizeEnd;
                continue;
            }
            ++used;
            if (++lineBytes_ > kMaxLineBytes)
                return Fail("a size line longer than " + std::to_string(kMaxLineBytes) + " bytes");
            continue;
        case Phase::SizeEnd:
        case Phase::Trailer:
            if (phase_ == Phase::SizeEnd && c == '\n')
                lineBytes_ = 0; // the size line's length is no trailer's
            ++used;
            LineByte(c);
            continue;
        case Phase::Data: {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(left_, len - used));
            if (n > 0 && body)
                body(data + used, n);
            used += n;
            left_ -= n;
            if (left_ == 0)
                phase_ = Phase::DataCr;
            continue;
        }
        case Phase::DataCr:
        case Phase::DataLf:
            if (c == '\r' && phase_ == Phase::DataCr) {
                phase_ = Phase::DataLf;
                ++used;
                continue;
            }
            if (c != '\n')
                return Fail("no CR LF after the chunk data");
            ++used;
            phase_ = Phase::Size;
            size_ = 0;
            sizeDigits_ = 0;
            lineBytes_ = 0;
            continue;
        }
    }
    return result_;
}

} // namespace orv

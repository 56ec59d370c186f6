#include "net/ContentDecoder.h"

#include "core/Text.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace orv
{

struct ContentDecoder::Impl {
    z_stream zs {};
    bool ready = false;
    bool ended = false; // the compressed stream is complete
    // Deflate comes with its zlib wrapper or, from some servers, without:
    // the first two bytes tell, so they wait until both are there.
    bool decided = false;
    bool fed = false; // any byte at all: an empty body is an empty document
    std::string head;
    char out[kPieceBytes];

    ~Impl()
    {
        if (ready)
            inflateEnd(&zs);
    }
};

ContentDecoder::Coding ContentDecoder::CodingOf(const std::string& contentEncoding)
{
    const std::string c = LowerCase(Trim(contentEncoding));
    if (c == "gzip" || c == "x-gzip")
        return Coding::Gzip;
    if (c == "deflate")
        return Coding::Deflate;
    return Coding::Identity;
}

ContentDecoder::ContentDecoder(Coding coding)
    : impl_(std::make_unique<Impl>())
    , coding_(coding)
{
    if (coding_ == Coding::Gzip)
        Init(false);
}

ContentDecoder::~ContentDecoder() = default;

bool ContentDecoder::Init(bool raw)
{
    if (impl_->ready)
        inflateEnd(&impl_->zs);
    impl_->zs = z_stream {};
    const int bits = coding_ == Coding::Gzip ? 16 + MAX_WBITS : raw ? -MAX_WBITS : MAX_WBITS;
    impl_->ready = inflateInit2(&impl_->zs, bits) == Z_OK;
    impl_->ended = false;
    impl_->decided = true;
    if (!impl_->ready)
        return Fail("cannot start decompression");
    return true;
}

bool ContentDecoder::Fail(const std::string& reason)
{
    if (error_.empty())
        error_ = "Corrupt " + std::string(coding_ == Coding::Gzip ? "gzip" : "deflate") + " content: " + reason;
    return false;
}

bool ContentDecoder::Feed(const char* data, size_t len, const Sink& sink)
{
    if (coding_ == Coding::Identity)
        return len == 0 || sink(data, len);
    if (Failed())
        return false;
    impl_->fed = impl_->fed || len > 0;
    if (!impl_->decided) {
        while (len > 0 && impl_->head.size() < 2) {
            impl_->head += *data++;
            --len;
        }
        if (impl_->head.size() < 2)
            return true;
        const unsigned b0 = static_cast<unsigned char>(impl_->head[0]);
        const unsigned b1 = static_cast<unsigned char>(impl_->head[1]);
        const bool wrapped = (b0 & 0x0F) == Z_DEFLATED && ((b0 << 8) | b1) % 31 == 0;
        if (!Init(!wrapped))
            return false;
        const std::string head = std::move(impl_->head);
        if (!Inflate(head.data(), head.size(), sink))
            return false;
    }
    return Inflate(data, len, sink);
}

bool ContentDecoder::Inflate(const char* data, size_t len, const Sink& sink)
{
    z_stream& zs = impl_->zs;
    while (len > 0) {
        if (impl_->ended) {
            // Another gzip member may follow; anything after a deflate
            // stream is not part of the content.
            if (coding_ != Coding::Gzip)
                return true;
            if (!Init(false))
                return false;
        }
        const uInt take = static_cast<uInt>(std::min<size_t>(len, UINT_MAX));
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        zs.avail_in = take;
        int rc = Z_OK;
        do {
            zs.next_out = reinterpret_cast<Bytef*>(impl_->out);
            zs.avail_out = sizeof impl_->out;
            rc = inflate(&zs, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                return Fail(zs.msg ? zs.msg : "inflate error " + IntToStr(rc));
            const size_t produced = sizeof impl_->out - zs.avail_out;
            if (produced > 0 && !sink(impl_->out, produced))
                return false;
            if (rc == Z_STREAM_END) {
                impl_->ended = true;
                break;
            }
            if (rc == Z_BUF_ERROR)
                break; // no progress is possible with what is in

        } while (zs.avail_in > 0 || zs.avail_out == 0);
        const size_t consumed = take - zs.avail_in;
        data += consumed;
        len -= consumed;
        if (consumed == 0 && !impl_->ended)
            return Fail("the stream does not advance");
    }
    return true;
}

bool ContentDecoder::Finish()
{
    if (coding_ == Coding::Identity)
        return true;
    if (Failed())
        return false;
    if (impl_->fed && !impl_->ended)
        return Fail("the stream ends before its end");
    return true;
}

} // namespace orv

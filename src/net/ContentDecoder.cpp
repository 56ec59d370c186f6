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
    bool sawInput = false; // bytes of the current stream went in
    bool rawTried = false; // deflate without its zlib wrapper, as some servers send it
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
    if (coding_ != Coding::Identity)
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
    impl_->sawInput = false;
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
            if (rc == Z_DATA_ERROR && coding_ == Coding::Deflate && !impl_->sawInput && !impl_->rawTried) {
                // No zlib header: read the same bytes as raw deflate.
                impl_->rawTried = true;
                if (!Init(true))
                    return false;
                zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
                zs.avail_in = take;
                rc = Z_OK;
                continue;
            }
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                return Fail(zs.msg ? zs.msg : "inflate error " + IntToStr(rc));
            const size_t produced = sizeof impl_->out - zs.avail_out;
            if (produced > 0) {
                impl_->sawInput = true;
                if (!sink(impl_->out, produced))
                    return false;
            }
            if (rc == Z_STREAM_END) {
                impl_->ended = true;
                break;
            }
            if (rc == Z_BUF_ERROR && zs.avail_in == 0)
                break;
        } while (zs.avail_in > 0 || zs.avail_out == 0);
        const size_t consumed = take - zs.avail_in;
        impl_->sawInput = impl_->sawInput || consumed > 0;
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
    if (!impl_->ended)
        return Fail("the stream ends before its end");
    return true;
}

} // namespace orv

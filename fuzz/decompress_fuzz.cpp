// libFuzzer target for the gzip and deflate decoder. The first byte picks the
// coding and where the rest is cut into pieces. Pieces stay within their
// bound, the same bytes whole and in pieces give the same content and the
// same verdict, and decoding stops as soon as the receiver says so.
#include "net/ContentDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

constexpr size_t kStopAt = 1 << 20; // the receiver's bound, small to keep runs fast

struct Outcome {
    std::string content;
    bool ok = true;
    bool stopped = false;
};

Outcome decode(orv::ContentDecoder::Coding coding, const char* data, size_t size, size_t step)
{
    Outcome o;
    orv::ContentDecoder decoder(coding);
    const auto sink = [&](const char* p, size_t len) {
        if (len == 0 || len > orv::ContentDecoder::kPieceBytes || o.stopped)
            std::abort();
        o.content.append(p, len);
        o.stopped = o.content.size() >= kStopAt;
        return !o.stopped;
    };
    for (size_t at = 0; at < size && o.ok; at += step)
        o.ok = decoder.Feed(data + at, std::min(step, size - at), sink);
    if (o.ok)
        o.ok = decoder.Finish();
    if (!o.ok && !o.stopped && !decoder.Failed())
        std::abort(); // a failure always says why
    return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto coding = data[0] & 1 ? orv::ContentDecoder::Coding::Gzip : orv::ContentDecoder::Coding::Deflate;
    const size_t step = 1 + (data[0] >> 1) % 64;
    const char* body = reinterpret_cast<const char*>(data + 1);
    const Outcome whole = decode(coding, body, size - 1, size);
    const Outcome pieces = decode(coding, body, size - 1, step);
    if (whole.stopped || pieces.stopped) {
        const size_t n = std::min(whole.content.size(), pieces.content.size());
        if (whole.content.compare(0, n, pieces.content, 0, n) != 0)
            std::abort();
        return 0;
    }
    if (whole.ok != pieces.ok || (whole.ok && whole.content != pieces.content))
        std::abort();
    return 0;
}

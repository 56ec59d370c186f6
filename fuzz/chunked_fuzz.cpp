// libFuzzer target for the chunked body decoder. The first byte sets where
// the rest is cut into pieces; the same bytes fed whole and in pieces must
// give the same body and the same end, the body can never be longer than
// what was fed, and nothing is taken after the end.
#include "net/ChunkedDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

struct Outcome {
    std::string body;
    orv::ChunkedDecoder::Result result = orv::ChunkedDecoder::Result::More;
    size_t used = 0;
};

Outcome decode(const char* data, size_t size, size_t step)
{
    Outcome o;
    orv::ChunkedDecoder decoder;
    for (size_t at = 0; at < size && o.result == orv::ChunkedDecoder::Result::More;) {
        const size_t n = std::min(step, size - at);
        size_t used = 0;
        o.result = decoder.Feed(data + at, n, used, [&](const char* p, size_t len) { o.body.append(p, len); });
        if (used > n || (o.result == orv::ChunkedDecoder::Result::More && used != n))
            std::abort();
        o.used += used;
        at += n;
    }
    size_t used = 1;
    if (o.result != orv::ChunkedDecoder::Result::More
        && (decoder.Feed("0\r\n\r\n", 5, used, [](const char*, size_t) { std::abort(); }) != o.result || used != 0))
        std::abort(); // an ended decoder takes nothing more
    return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t step = 1 + data[0] % 17;
    const char* body = reinterpret_cast<const char*>(data + 1);
    const Outcome whole = decode(body, size - 1, size);
    const Outcome pieces = decode(body, size - 1, step);
    // An error may be seen at a different byte, never a different end.
    if (whole.result != pieces.result || whole.body.size() > size)
        std::abort();
    if (whole.result != orv::ChunkedDecoder::Result::Error && (whole.body != pieces.body || whole.used != pieces.used))
        std::abort();
    return 0;
}

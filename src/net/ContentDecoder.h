#pragma once
// Undoing a Content-Encoding of gzip or deflate while the body arrives, with
// zlib. Output leaves in pieces of at most kPieceBytes through a fixed
// buffer, so memory stays flat however far a body inflates; the receiver
// bounds the total and may stop the decoding after any piece.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace orv
{

class ContentDecoder
{
public:
    static constexpr size_t kPieceBytes = 16 * 1024;

    enum class Coding { Identity, Gzip, Deflate };
    // The coding a Content-Encoding value names; Identity for none and for
    // codings not asked for (those bodies are passed on as they are).
    static Coding CodingOf(const std::string& contentEncoding);

    explicit ContentDecoder(Coding coding);
    ~ContentDecoder();
    ContentDecoder(const ContentDecoder&) = delete;
    ContentDecoder& operator=(const ContentDecoder&) = delete;

    // Receives a decoded piece; returns false to stop decoding at once.
    using Sink = std::function<bool(const char* data, size_t len)>;

    // Decodes the next bytes of the body. False when the stream is corrupt
    // (Error() names the reason) or the sink asked to stop.
    bool Feed(const char* data, size_t len, const Sink& sink);
    // The body has ended: false when the compressed stream did not.
    bool Finish();

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

private:
    bool Init(bool raw);
    bool Fail(const std::string& reason);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    Coding coding_;
    std::string error_;
};

} // namespace orv

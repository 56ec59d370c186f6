#pragma once
// A page's bytes to UTF-8, as they arrive. The character set is taken, in
// this order, from the charset of the Content-Type, a byte order mark, a
// <meta> declaration in the first 1024 bytes, and else from the bytes
// themselves: UTF-8 when they are valid UTF-8, Windows-1252 otherwise. Sets
// other than these two go through ICU's converters. Bytes that do not fit
// the set become U+FFFD: a page that lies about its set still decodes.
//
// Undeclared pages are held back until 1024 bytes are known; a page whose
// first 1024 bytes are valid UTF-8 is read as UTF-8 until its first byte that
// is not, and as Windows-1252 from there on.
#include <memory>
#include <string>
#include <string_view>

struct UConverter;

namespace orv
{

class PageDecoder
{
public:
    explicit PageDecoder(std::string_view contentType);
    ~PageDecoder();
    PageDecoder(const PageDecoder&) = delete;
    PageDecoder& operator=(const PageDecoder&) = delete;

    // Appends the UTF-8 of the next bytes to `out`. A character split
    // between two pieces comes out whole with the second.
    void add(std::string_view bytes, std::string& out);
    // The page has ended: appends what was held back (an incomplete last
    // character becomes U+FFFD).
    void finish(std::string& out);

    // The set decided on ("utf-8", "windows-1252" or an ICU converter name);
    // empty while undecided.
    const std::string& charset() const { return charset_; }

private:
    enum class Kind { Undecided, Utf8, Sniffed, Windows1252, Icu };

    bool decide(std::string_view label);
    void decideFromHeld(bool atEnd);
    void decode(std::string_view bytes, bool flush, std::string& out);
    void decodeUtf8(std::string_view bytes, bool flush, std::string& out);
    void decodeIcu(std::string_view bytes, bool flush, std::string& out);

    Kind kind_ = Kind::Undecided;
    std::string charset_;
    std::string held_; // undecided bytes, or an incomplete UTF-8 sequence
    size_t skip_ = 0; // a byte order mark still to drop
    UConverter* from_ = nullptr;
    UConverter* utf8_ = nullptr;
    std::unique_ptr<char16_t[]> pivot_;
    char16_t* pivotSource_ = nullptr;
    char16_t* pivotTarget_ = nullptr;
};

} // namespace orv

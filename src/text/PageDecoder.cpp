#include "text/PageDecoder.h"

#include "core/Utf8.h"
#include "text/Charset.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf8.h>

#include <array>

namespace orv
{

namespace
{

constexpr size_t kPivotSize = 4096;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isUtf8Label(std::string_view label)
{
    return label == "utf-8" || label == "utf8" || label == "unicode-1-1-utf-8";
}

// Labels that browsers read as Windows-1252, which holds Latin-1 and ASCII.
bool isWindows1252Label(std::string_view label)
{
    static constexpr std::array<std::string_view, 15> kLabels
        = { "windows-1252", "cp1252", "x-cp1252", "iso-8859-1", "iso8859-1", "iso_8859-1", "iso-ir-100", "latin1", "l1",
              "ibm819", "cp819", "us-ascii", "ascii", "ansi_x3.4-1968", "iso88591" };
    for (const std::string_view known : kLabels)
        if (label == known)
            return true;
    return false;
}

// The number of bytes at the end of `bytes` that begin a UTF-8 sequence not
// yet complete (0 when the text ends on a whole character).
size_t incompleteTail(std::string_view bytes)
{
    const size_t n = bytes.size();
    for (size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto byte = static_cast<uint8_t>(bytes[n - back]);
        if (U8_IS_TRAIL(byte))
            continue;
        if (byte >= 0xC2 && byte <= 0xF4 && static_cast<size_t>(U8_COUNT_TRAIL_BYTES(byte)) >= back)
            return back;
        return 0;
    }
    return 0;
}

// Bytes the set does not map become U+FFFD, never the SUB control some
// converters substitute by default.
void replaceWithFffd(const void*, UConverterToUnicodeArgs* args, const char*, int32_t, UConverterCallbackReason reason,
    UErrorCode* error)
{
    if (reason > UCNV_IRREGULAR)
        return; // reset, close or clone: nothing to write
    static const UChar kFffd = 0xFFFD;
    *error = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kFffd, 1, 0, error);
}

} // namespace

PageDecoder::PageDecoder(std::string_view contentType)
    : charset_(CharsetFromContentType(contentType))
{
    // The label of the header is tried first when the set is decided; it is
    // kept here until then.
}

PageDecoder::~PageDecoder()
{
    if (from_)
        ucnv_close(from_);
    if (utf8_)
        ucnv_close(utf8_);
}

bool PageDecoder::decide(std::string_view label)
{
    if (label.empty())
        return false;
    if (isUtf8Label(label)) {
        kind_ = Kind::Utf8;
        charset_ = "utf-8";
        return true;
    }
    if (isWindows1252Label(label)) {
        kind_ = Kind::Windows1252;
        charset_ = "windows-1252";
        return true;
    }
    UErrorCode error = U_ZERO_ERROR;
    UConverter* from = ucnv_open(std::string(label).c_str(), &error);
    if (U_FAILURE(error) || !from) {
        if (from)
            ucnv_close(from);
        return false;
    }
    ucnv_setToUCallBack(from, replaceWithFffd, nullptr, nullptr, nullptr, &error);
    UConverter* utf8 = ucnv_open("UTF-8", &error);
    if (U_FAILURE(error) || !utf8) {
        ucnv_close(from);
        if (utf8)
            ucnv_close(utf8);
        return false;
    }
    from_ = from;
    utf8_ = utf8;
    pivot_ = std::make_unique<char16_t[]>(kPivotSize);
    pivotSource_ = pivotTarget_ = pivot_.get();
    kind_ = Kind::Icu;
    charset_ = ucnv_getName(from_, &error);
    return true;
}

void PageDecoder::decideFromHeld(bool atEnd)
{
    const std::string header = charset_;
    charset_.clear();
    size_t bomLength = 0;
    const std::string bom = CharsetFromBom(held_, bomLength);
    std::string meta = CharsetFromMeta(held_);
    // A page that declares UTF-16 inside itself is read with ASCII bytes, so
    // it cannot be UTF-16.
    if (meta.starts_with("utf-16"))
        meta = "utf-8";
    if (decide(header)) {
        if (kind_ == Kind::Utf8 && bom == "utf-8")
            skip_ = bomLength;
    } else if (!bom.empty()) {
        decide(bom == "utf-8" ? "utf-8" : "utf-16"); // ICU's UTF-16 reads and drops its own mark
        if (kind_ == Kind::Utf8)
            skip_ = bomLength;
    } else if (decide(meta)) {
    } else {
        const std::string_view whole
            = atEnd ? std::string_view(held_) : std::string_view(held_).substr(0, held_.size() - incompleteTail(held_));
        if (IsValidUtf8(whole)) {
            kind_ = Kind::Sniffed;
            charset_ = "utf-8";
        } else {
            kind_ = Kind::Windows1252;
            charset_ = "windows-1252";
        }
    }
    if (kind_ == Kind::Undecided) { // cannot happen: the last step always decides
        kind_ = Kind::Windows1252;
        charset_ = "windows-1252";
    }
}

void PageDecoder::add(std::string_view bytes, std::string& out)
{
    if (kind_ == Kind::Undecided) {
        held_.append(bytes);
        if (held_.size() < kCharsetPrescanBytes)
            return;
        decideFromHeld(false);
        std::string first;
        first.swap(held_);
        decode(std::string_view(first).substr(skip_), false, out);
        skip_ = 0;
        return;
    }
    decode(bytes, false, out);
}

void PageDecoder::finish(std::string& out)
{
    if (kind_ == Kind::Undecided) {
        decideFromHeld(true);
        std::string first;
        first.swap(held_);
        decode(std::string_view(first).substr(std::min(skip_, first.size())), true, out);
        skip_ = 0;
        return;
    }
    decode({}, true, out);
}

void PageDecoder::decode(std::string_view bytes, bool flush, std::string& out)
{
    switch (kind_) {
    case Kind::Utf8:
    case Kind::Sniffed:
        decodeUtf8(bytes, flush, out);
        break;
    case Kind::Icu:
        decodeIcu(bytes, flush, out);
        break;
    case Kind::Windows1252:
    case Kind::Undecided:
        out += cp1252ToUtf8(bytes);
        break;
    }
}

void PageDecoder::decodeUtf8(std::string_view bytes, bool flush, std::string& out)
{
    std::string joined;
    std::string_view data = bytes;
    if (!held_.empty()) {
        joined = held_ + std::string(bytes);
        held_.clear();
        data = joined;
    }
    if (!flush) {
        const size_t tail = incompleteTail(data);
        held_.assign(data.substr(data.size() - tail));
        data.remove_suffix(tail);
    }
    const auto* p = reinterpret_cast<const uint8_t*>(data.data());
    const auto length = static_cast<int32_t>(data.size());
    int32_t runStart = 0;
    for (int32_t i = 0; i < length;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(p, i, length, c);
        if (c >= 0)
            continue;
        out.append(data.substr(static_cast<size_t>(runStart), static_cast<size_t>(start - runStart)));
        if (kind_ == Kind::Sniffed) {
            // Not UTF-8 after all: the rest is read as Windows-1252.
            kind_ = Kind::Windows1252;
            charset_ = "windows-1252";
            out += cp1252ToUtf8(data.substr(static_cast<size_t>(start)));
            out += cp1252ToUtf8(held_);
            held_.clear();
            return;
        }
        out += kReplacement;
        runStart = i;
    }
    out.append(data.substr(static_cast<size_t>(runStart)));
}

void PageDecoder::decodeIcu(std::string_view bytes, bool flush, std::string& out)
{
    const char* source = bytes.data();
    const char* sourceLimit = bytes.data() + bytes.size();
    char buffer[16384];
    for (;;) {
        char* target = buffer;
        UErrorCode error = U_ZERO_ERROR;
        ucnv_convertEx(utf8_, from_, &target, buffer + sizeof buffer, &source, sourceLimit,
            reinterpret_cast<UChar*>(pivot_.get()), reinterpret_cast<UChar**>(&pivotSource_),
            reinterpret_cast<UChar**>(&pivotTarget_), reinterpret_cast<UChar*>(pivot_.get() + kPivotSize), false, flush,
            &error);
        out.append(buffer, static_cast<size_t>(target - buffer));
        if (error == U_BUFFER_OVERFLOW_ERROR)
            continue;
        if (U_FAILURE(error)) {
            // Substitution keeps the converters from failing on bad bytes;
            // anything else ends the page's text here.
            out += kReplacement;
        }
        return;
    }
}

} // namespace orv

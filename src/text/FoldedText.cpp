#include "text/FoldedText.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/normalizer2.h>

namespace orv
{

namespace
{

bool isAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

const icu::Normalizer2* nfc()
{
    static const icu::Normalizer2* const instance = [] {
        UErrorCode error = U_ZERO_ERROR;
        const icu::Normalizer2* n = icu::Normalizer2::getNFCInstance(error);
        return U_SUCCESS(error) ? n : nullptr;
    }();
    return instance;
}

} // namespace

void AppendFolded(std::string_view utf8, std::string& out)
{
    if (isAscii(utf8)) {
        const size_t at = out.size();
        out.append(utf8);
        for (size_t i = at; i < out.size(); ++i)
            if (out[i] >= 'A' && out[i] <= 'Z')
                out[i] = static_cast<char>(out[i] - 'A' + 'a');
        return;
    }
    // On UTF-8 throughout: text that is already NFC, as nearly all is, is
    // only folded.
    const icu::Normalizer2* n = nfc();
    UErrorCode error = U_ZERO_ERROR;
    std::string normal;
    icu::StringPiece text(utf8.data(), static_cast<int32_t>(utf8.size()));
    if (n && !n->isNormalizedUTF8(text, error)) {
        icu::StringByteSink<std::string> sink(&normal);
        n->normalizeUTF8(0, text, sink, nullptr, error);
        text = normal;
    }
    std::string folded;
    icu::StringByteSink<std::string> foldSink(&folded);
    icu::CaseMap::utf8Fold(U_FOLD_CASE_DEFAULT, text, foldSink, nullptr, error);
    // Folding can undo a composition (U+0130 becomes i and a combining dot).
    error = U_ZERO_ERROR;
    if (n && !n->isNormalizedUTF8(folded, error)) {
        icu::StringByteSink<std::string> sink(&out);
        n->normalizeUTF8(0, folded, sink, nullptr, error);
        return;
    }
    out += folded;
}

std::string Folded(std::string_view utf8)
{
    std::string out;
    AppendFolded(utf8, out);
    return out;
}

std::string CollapseBlanks(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    bool blank = false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (IsHtmlBlank(c) || (c == '\xC2' && i + 1 < utf8.size() && utf8[i + 1] == '\xA0')) {
            if (c == '\xC2')
                ++i;
            blank = true;
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    if (blank)
        out += ' ';
    return out;
}

} // namespace orv

#include "text/Charset.h"

#include "core/Text.h"

namespace orv
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The label after "charset" in a parameter list: blanks, "=", an optional
// quote, up to the closing quote, a ";" or a blank.
std::string charsetParameter(std::string_view text)
{
    const std::string lowered = LowerCase(text);
    for (size_t at = lowered.find("charset"); at != std::string::npos; at = lowered.find("charset", at + 1)) {
        size_t i = at + 7;
        while (i < lowered.size() && isBlank(lowered[i]))
            ++i;
        if (i >= lowered.size() || lowered[i] != '=')
            continue;
        ++i;
        while (i < lowered.size() && isBlank(lowered[i]))
            ++i;
        char quote = 0;
        if (i < lowered.size() && (lowered[i] == '"' || lowered[i] == '\''))
            quote = lowered[i++];
        size_t end = i;
        while (
            end < lowered.size() && lowered[end] != quote && lowered[end] != ';' && (quote || !isBlank(lowered[end])))
            ++end;
        return std::string(trimmed(std::string_view(lowered).substr(i, end - i)));
    }
    return {};
}

// The attributes of one tag, read from just after its name.
class TagAttributes
{
public:
    TagAttributes(std::string_view text, size_t at)
        : text_(text)
        , at_(at)
    {
    }

    // The next attribute; false at the end of the tag or the text.
    bool next(std::string& name, std::string& value)
    {
        while (at_ < text_.size() && (isBlank(text_[at_]) || text_[at_] == '/'))
            ++at_;
        if (at_ >= text_.size() || text_[at_] == '>')
            return false;
        const size_t nameStart = at_;
        while (at_ < text_.size() && !isBlank(text_[at_]) && text_[at_] != '=' && text_[at_] != '>')
            ++at_;
        name = LowerCase(text_.substr(nameStart, at_ - nameStart));
        value.clear();
        while (at_ < text_.size() && isBlank(text_[at_]))
            ++at_;
        if (at_ >= text_.size() || text_[at_] != '=')
            return true;
        ++at_;
        while (at_ < text_.size() && isBlank(text_[at_]))
            ++at_;
        if (at_ < text_.size() && (text_[at_] == '"' || text_[at_] == '\'')) {
            const char quote = text_[at_++];
            const size_t end = text_.find(quote, at_);
            const size_t stop = end == std::string_view::npos ? text_.size() : end;
            value = text_.substr(at_, stop - at_);
            at_ = stop == text_.size() ? stop : stop + 1;
        } else {
            const size_t start = at_;
            while (at_ < text_.size() && !isBlank(text_[at_]) && text_[at_] != '>')
                ++at_;
            value = text_.substr(start, at_ - start);
        }
        return true;
    }

private:
    std::string_view text_;
    size_t at_;
};

std::string charsetOfMetaTag(std::string_view text, size_t afterName)
{
    TagAttributes attributes(text, afterName);
    std::string name;
    std::string value;
    std::string content;
    bool contentType = false;
    while (attributes.next(name, value)) {
        if (name == "charset")
            return std::string(trimmed(LowerCase(value)));
        if (name == "http-equiv")
            contentType = LowerCase(trimmed(value)) == "content-type";
        else if (name == "content")
            content = value;
    }
    return contentType ? charsetParameter(content) : std::string();
}

} // namespace

std::string CharsetFromContentType(std::string_view contentType)
{
    const size_t semicolon = contentType.find(';');
    if (semicolon == std::string_view::npos)
        return {};
    return charsetParameter(contentType.substr(semicolon + 1));
}

std::string CharsetFromBom(std::string_view firstBytes, size_t& bomLength)
{
    bomLength = 0;
    if (firstBytes.starts_with("\xEF\xBB\xBF")) {
        bomLength = 3;
        return "utf-8";
    }
    if (firstBytes.starts_with("\xFF\xFE")) {
        bomLength = 2;
        return "utf-16le";
    }
    if (firstBytes.starts_with("\xFE\xFF")) {
        bomLength = 2;
        return "utf-16be";
    }
    return {};
}

std::string CharsetFromMeta(std::string_view firstBytes)
{
    const std::string_view text = firstBytes.substr(0, kCharsetPrescanBytes);
    const std::string lowered = LowerCase(text);
    size_t at = 0;
    while ((at = lowered.find('<', at)) != std::string::npos) {
        if (lowered.compare(at, 4, "<!--") == 0) {
            const size_t end = lowered.find("-->", at + 4);
            if (end == std::string::npos)
                return {};
            at = end + 3;
            continue;
        }
        if (lowered.compare(at, 5, "<meta") == 0 && at + 5 < lowered.size()
            && (isBlank(lowered[at + 5]) || lowered[at + 5] == '/')) {
            std::string label = charsetOfMetaTag(text, at + 5);
            if (!label.empty())
                return label;
        }
        ++at;
    }
    return {};
}

bool ContentTypeIsPlainText(std::string_view contentType)
{
    const std::string type = std::string(trimmed(LowerCase(contentType.substr(0, contentType.find(';')))));
    if (type.empty() || type == "text/html" || type.ends_with("xml"))
        return false;
    return true;
}

} // namespace orv

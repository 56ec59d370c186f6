#include "files/DataExports.h"

#include "core/Text.h"
#include "core/Utf8.h"

namespace orv
{

namespace
{

std::string csvField(std::string_view text)
{
    const std::string utf8 = ValidUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos)
        return utf8;
    std::string quoted = "\"";
    for (const char c : utf8) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// A page chose its description: "=HYPERLINK(...)" must stay text.
std::string csvTextCell(std::string_view text)
{
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        return csvField("'" + std::string(text));
    return csvField(text);
}

const char* boolText(bool value)
{
    return value ? "true" : "false";
}

std::string joinEngines(const std::vector<std::string>& engines, std::string_view separator)
{
    std::string joined;
    for (const std::string& name : engines) {
        if (!joined.empty())
            joined += separator;
        joined += name;
    }
    return joined;
}

// Builds the JSON text with two-blank indentation, one value per line
// inside objects, and short arrays of strings kept on one line.
class JsonOut
{
public:
    std::string text;

    void key(std::string_view name) { text += indent() + jsonString(name) + ": "; }
    void open(char bracket)
    {
        text += bracket;
        text += '\n';
        ++depth_;
        first_ = true;
    }
    void close(char bracket)
    {
        --depth_;
        if (first_)
            text.pop_back(); // nothing inside: "[]" or "{}"
        else
            text += '\n' + indent();
        text += bracket;
        first_ = false;
    }
    // Starts the next member or element of the open object or array.
    void next()
    {
        if (!first_)
            text += ",\n";
        first_ = false;
    }
    void member(std::string_view name, std::string_view rawValue)
    {
        next();
        key(name);
        text += rawValue;
    }
    void element()
    {
        next();
        text += indent();
    }
    // A member holding an array with one object per item, whose members
    // `writeMembers(item)` writes.
    template <typename Items, typename WriteMembers>
    void objectArray(std::string_view name, const Items& items, WriteMembers writeMembers)
    {
        next();
        key(name);
        open('[');
        for (const auto& item : items) {
            element();
            open('{');
            writeMembers(item);
            close('}');
        }
        close(']');
    }

private:
    std::string indent() const { return std::string(static_cast<size_t>(depth_) * 2, ' '); }
    int depth_ = 0;
    bool first_ = true;
};

std::string jsonStringArray(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ", ";
        out += jsonString(items[i]);
    }
    return out + "]";
}

void writeCriterion(JsonOut& out, std::string_view name, const Lines& words, bool all)
{
    out.next();
    out.key(name);
    out.open('{');
    out.member("words", jsonStringArray(words));
    out.member("match", all ? "\"all\"" : "\"any\"");
    out.close('}');
}

std::string claimedJson(const std::string& claimed)
{
    if (claimed.empty())
        return "null";
    if (const auto value = claimedCountValue(claimed))
        return IntToStr(*value);
    return jsonString(claimed);
}

} // namespace

std::string jsonString(std::string_view text)
{
    static const char* const kHex = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : ValidUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

std::string csvExport(const std::vector<ExportRecord>& records)
{
    std::string out = "url,status,checked,approved,engines,description,reason\r\n";
    for (const ExportRecord& r : records) {
        out += csvField(r.url) + ',' + csvField(r.statusText) + ',' + boolText(r.checked) + ',' + boolText(r.approved)
            + ',' + csvField(joinEngines(r.engines, ";")) + ',' + csvTextCell(r.description) + ',' + csvField(r.reason)
            + "\r\n";
    }
    return out;
}

std::string jsonExport(const ExportCriteria& criteria, const std::vector<EngineYieldRow>& engines,
    const std::vector<ExportRecord>& records, const std::vector<ApprovedEntry>& approved)
{
    JsonOut out;
    out.open('{');

    out.next();
    out.key("criteria");
    out.open('{');
    writeCriterion(out, "primary", criteria.words.primary, criteria.primaryAll);
    writeCriterion(out, "secondary", criteria.words.secondary, criteria.secondaryAll);
    writeCriterion(out, "exclusion", criteria.words.exclusion, criteria.exclusionAll);
    out.member("matchOn", criteria.matchOn == MatchOn::PageText ? "\"text\"" : "\"source\"");
    out.close('}');

    out.objectArray("engines", engines, [&out](const EngineYieldRow& row) {
        out.member("engine", jsonString(row.displayName()));
        out.member("claimed", claimedJson(row.claimed));
        out.member("pages", IntToStr(row.pages));
        out.member("links", IntToStr(row.links));
        out.member("new", IntToStr(row.newUrls));
        out.member("verified", IntToStr(row.verified));
        out.member("approved", IntToStr(row.approved));
        out.member("blocked", row.blocked ? "true" : "false");
        out.member("reason", row.blocked ? jsonString(row.reason) : "null");
    });
    out.objectArray("results", records, [&out](const ExportRecord& r) {
        out.member("url", jsonString(r.url));
        out.member("status", jsonString(r.statusText));
        out.member("checked", boolText(r.checked));
        out.member("approved", boolText(r.approved));
        out.member("engines", jsonStringArray(r.engines));
        out.member("description", jsonString(r.description));
        out.member("reason", jsonString(r.reason));
    });
    out.objectArray("approved", approved, [&out](const ApprovedEntry& a) {
        out.member("url", jsonString(a.url));
        out.member("description", jsonString(a.description));
    });

    out.close('}');
    out.text += '\n';
    return out.text;
}

} // namespace orv

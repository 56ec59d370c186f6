#include "browse/HelpFile.h"

#include "platform/ProgramFolderChoice.h"

#include <string_view>
#include <vector>

namespace orv
{

namespace
{

void appendEscaped(std::string& out, char c)
{
    switch (c) {
    case '&':
        out += "&amp;";
        break;
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '"':
        out += "&quot;";
        break;
    default:
        out += c;
    }
}

// Inline text: escapes of the page (\- \e \fB \fI \fR \fP \(em ...) become
// characters or font changes; the rest is escaped for HTML.
class InlineWriter
{
public:
    explicit InlineWriter(std::string& out)
        : out_(out)
    {
    }
    ~InlineWriter() { setFont('R'); }

    void write(std::string_view text)
    {
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c != '\\' || i + 1 == text.size()) {
                appendEscaped(out_, c);
                continue;
            }
            const char e = text[++i];
            if (e == 'f' && i + 1 < text.size()) {
                const char font = text[++i];
                setFont(font == 'P' ? previous_ : font);
            } else if (e == '(' && i + 2 < text.size()) {
                const std::string_view name = text.substr(i + 1, 2);
                i += 2;
                out_ += name == "em" ? "&mdash;" : name == "en" ? "&ndash;" : name == "bu" ? "&bull;" : "";
            } else if (e == '-' || e == '.' || e == '\'' || e == ' ' || e == '&') {
                if (e != '&')
                    out_ += e == ' ' ? "&nbsp;" : std::string(1, e);
            } else if (e == 'e' || e == '\\') {
                out_ += '\\';
            } else if (e == '"') {
                return; // a comment runs to the end of the line
            }
        }
    }

    void setFont(char font)
    {
        if (font != 'B' && font != 'I')
            font = 'R';
        if (font == current_)
            return;
        if (current_ == 'B')
            out_ += "</b>";
        else if (current_ == 'I')
            out_ += "</i>";
        if (font == 'B')
            out_ += "<b>";
        else if (font == 'I')
            out_ += "<i>";
        previous_ = current_;
        current_ = font;
    }

private:
    std::string& out_;
    char current_ = 'R';
    char previous_ = 'R';
};

// The arguments of a request: blank-separated, "double quotes" group.
std::vector<std::string> arguments(std::string_view rest)
{
    std::vector<std::string> args;
    size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && rest[i] == ' ')
            ++i;
        if (i == rest.size())
            break;
        std::string arg;
        if (rest[i] == '"') {
            ++i;
            while (i < rest.size() && rest[i] != '"')
                arg += rest[i++];
            ++i;
        } else {
            while (i < rest.size() && rest[i] != ' ')
                arg += rest[i++];
        }
        args.push_back(arg);
    }
    return args;
}

class HtmlPage
{
public:
    std::string finish()
    {
        closeBlock();
        return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title_
            + " Help</title>\n<meta name=\"color-scheme\" content=\"light dark\">\n<style>\n"
              "body { font-family: sans-serif; max-width: 50em; margin: 1em auto; padding: 0 1em; line-height: 1.45 }\n"
              "h2 { font-size: 1.1em; margin-top: 1.6em; border-bottom: 1px solid #8884 }\n"
              "dt { margin-top: .6em } dd { margin-left: 2em } pre { padding: .5em; background: #8882 }\n"
              "</style>\n</head>\n<body>\n<h1>"
            + title_ + " Help</h1>\n" + body_ + "</body>\n</html>\n";
    }

    void line(const std::string& text)
    {
        if (text.starts_with(".\\\"") || text.starts_with("'\\\""))
            return;
        if (!text.empty() && text[0] == '.') {
            const size_t space = text.find(' ');
            request(text.substr(1, space == std::string::npos ? std::string::npos : space - 1),
                space == std::string::npos ? std::string_view() : std::string_view(text).substr(space + 1));
            return;
        }
        if (pre_) {
            write(text);
            body_ += '\n';
            return;
        }
        if (text.empty()) {
            closeBlock();
            return;
        }
        openText();
        write(text);
        closeLineOrTerm();
    }

private:
    enum class Block { None, Paragraph, Term, Definition };

    void request(const std::string& name, std::string_view rest)
    {
        const std::vector<std::string> args = arguments(rest);
        if (name == "TH") {
            if (!args.empty()) {
                title_.clear();
                // "ORVALEN" reads as the program's name: capital first letter.
                for (size_t i = 0; i < args[0].size(); ++i) {
                    const char c = args[0][i];
                    appendEscaped(title_, i == 0 || c < 'A' || c > 'Z' ? c : static_cast<char>(c - 'A' + 'a'));
                }
            }
        } else if (name == "SH" || name == "SS") {
            closeBlock();
            body_ += name == "SH" ? "<h2>" : "<h3>";
            write(std::string(rest));
            body_ += name == "SH" ? "</h2>\n" : "</h3>\n";
        } else if (name == "PP" || name == "P" || name == "LP") {
            closeBlock();
        } else if (name == "TP") {
            closeItem();
            if (!inList_)
                body_ += "<dl>\n";
            inList_ = true;
            body_ += "<dt>";
            block_ = Block::Term;
        } else if (name == "B" || name == "I") {
            openText();
            InlineWriter w(body_);
            w.setFont(name[0]);
            w.write(joined(args));
            w.setFont('R');
            closeLineOrTerm();
        } else if (name.size() == 2 && isFont(name[0]) && isFont(name[1])) {
            openText();
            InlineWriter w(body_);
            for (size_t i = 0; i < args.size(); ++i) {
                w.setFont(name[i % 2]);
                w.write(args[i]);
            }
            w.setFont('R');
            closeLineOrTerm();
        } else if (name == "br") {
            body_ += "<br>\n";
        } else if (name == "nf") {
            closeBlock();
            body_ += "<pre>";
            pre_ = true;
        } else if (name == "fi") {
            if (pre_)
                body_ += "</pre>\n";
            pre_ = false;
        }
        // RS, RE and anything else: nothing to draw.
    }

    static bool isFont(char c) { return c == 'B' || c == 'I' || c == 'R'; }
    static std::string joined(const std::vector<std::string>& args)
    {
        std::string out;
        for (const std::string& a : args)
            out += (out.empty() ? "" : " ") + a;
        return out;
    }

    void write(std::string_view text) { InlineWriter(body_).write(text); }

    // Text goes into the open paragraph, term or definition, or opens one.
    void openText()
    {
        if (pre_ || block_ != Block::None)
            return;
        if (inList_) {
            body_ += "<dd>";
            block_ = Block::Definition;
        } else {
            body_ += "<p>";
            block_ = Block::Paragraph;
        }
    }

    // The line after .TP is the term; text after it is its definition.
    void closeLineOrTerm()
    {
        if (pre_)
            body_ += '\n';
        else if (block_ == Block::Term) {
            body_ += "</dt>\n<dd>";
            block_ = Block::Definition;
        } else
            body_ += '\n';
    }

    void closeBlock()
    {
        closeItem();
        if (inList_)
            body_ += "</dl>\n";
        inList_ = false;
    }

    void closeItem()
    {
        if (pre_) {
            body_ += "</pre>\n";
            pre_ = false;
        }
        switch (block_) {
        case Block::Paragraph:
            body_ += "</p>\n";
            break;
        case Block::Term:
            body_ += "</dt>\n";
            break;
        case Block::Definition:
            body_ += "</dd>\n";
            break;
        case Block::None:
            break;
        }
        block_ = Block::None;
    }

    std::string title_ = "Orvalen";
    std::string body_;
    Block block_ = Block::None;
    bool inList_ = false;
    bool pre_ = false;
};

} // namespace

std::string ManPageToHtml(const Lines& page)
{
    HtmlPage html;
    for (const std::string& line : page)
        html.line(line);
    return html.finish();
}

std::string FindHelpFile(const std::string& programFolder, const std::string& executableFolder)
{
    const std::string candidates[] = { programFolder + kHelpFileName, executableFolder + kHelpFileName,
        installedArtworkFolder(executableFolder) + kHelpFileName };
    for (const std::string& path : candidates)
        if (FileExists(path))
            return path;
    return candidates[0];
}

} // namespace orv

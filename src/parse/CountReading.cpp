#include "parse/CountReading.h"

#include "core/Text.h"

namespace orv
{

namespace
{

constexpr int kNone = -1;

int firstLineWith(const Lines& lines, std::string_view text, size_t from = 0)
{
    for (size_t i = from; i < lines.size(); ++i)
        if (Pos(text, lines[i]) > 0)
            return static_cast<int>(i);
    return kNone;
}

int firstLineWithLower(const Lines& lines, std::string_view text)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (Pos(text, LowerCase(lines[i])) > 0)
            return static_cast<int>(i);
    return kNone;
}

int lastLineWith(const Lines& lines, std::string_view text)
{
    for (size_t i = lines.size(); i > 0; --i)
        if (Pos(text, lines[i - 1]) > 0)
            return static_cast<int>(i - 1);
    return kNone;
}

const std::string& lineAt(const Lines& lines, int index)
{
    return lines[static_cast<size_t>(index)];
}

std::string removeAll(std::string text, std::string_view what)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
    return text;
}

std::string orZero(std::string text)
{
    return text.empty() ? std::string("0") : text;
}

// "1 url", "0 urls", "12 urls": the engines that write a singular.
std::string urlsAfter(const std::string& text)
{
    return text + (text == "1" ? " url" : " urls");
}

} // namespace

CountReading readAltaVistaCount(const Lines& lines)
{
    static constexpr std::string_view kPhrase = "AltaVista found ";
    CountReading reading;
    const int i = firstLineWith(lines, kPhrase);
    if (i == kNone)
        return reading; // no report line at all
    const std::string& line = lineAt(lines, i);
    std::string text = CopyFrom(line, Pos(kPhrase, line) + Length(kPhrase));
    const int tail = Pos("Web pages for you.", text);
    if (tail > 0)
        text = Copy(text, 1, tail - 2); // also drops the blank before the phrase
    text = orZero(removeAll(removeAll(text, "about"), ","));
    if (Pos("no document matching", text) > 0)
        text = "0";
    reading.value = StrToIntDef(text, 0);
    reading.setsPaging = true;
    reading.reportLine = "AltaVista found\t\t\t" + IntToStr(reading.value) + " urls";
    return reading;
}

CountReading readInfoseekCount(const Lines& lines)
{
    static constexpr std::string_view kPhrase = "RESULTS 1 -";
    CountReading reading;
    std::string text = "0";
    const int i = firstLineWith(lines, kPhrase);
    if (i != kNone) {
        const std::string& line = lineAt(lines, i);
        std::string cut = CopyFrom(line, Pos(kPhrase, line));
        cut = CopyFrom(cut, Pos("of ", cut) + 3);
        cut = Copy(cut, 1, Pos(" total", cut) - 1);
        text = orZero(removeAll(removeAll(cut, ","), " "));
        reading.value = StrToIntDef(text, 0);
        reading.setsPaging = true;
    }
    reading.reportLine = "InfoSeek found\t\t\t" + text + " urls";
    reading.skipLinks = text == "0";
    return reading;
}

CountReading readExciteCount(const Lines& lines)
{
    CountReading reading;
    std::string text;
    const int hits = firstLineWithLower(lines, " hits");
    const int i = hits == kNone ? kNone : firstLineWith(lines, ".", static_cast<size_t>(hits));
    if (i != kNone) {
        // The number stands after the line's first character and before the
        // five characters " hits" that precede the first full stop.
        const std::string& line = lineAt(lines, i);
        text = Copy(line, 2, Pos(".", line) - 7);
        reading.setsPaging = true;
    }
    text = orZero(text);
    reading.value = StrToIntDef(text, 0);
    reading.reportLine = "Excite found\t\t\t" + text + " urls";
    return reading;
}

CountReading readYahooCount(const Lines& lines)
{
    static constexpr std::string_view kPhrase = "Found <b>";
    CountReading reading;
    std::string text = "0";
    const int i = firstLineWith(lines, kPhrase);
    if (i != kNone) {
        const std::string& line = lineAt(lines, i);
        const int from = Pos(kPhrase, line) + Length(kPhrase);
        const std::string cut = Copy(line, from, Length(line) - 5 - from + 1);
        text = orZero(removeAll(removeAll(cut, ","), " "));
        reading.value = StrToIntDef(text, 0);
        reading.setsPaging = true;
    }
    reading.reportLine = "Yahoo found\t\t\t" + text + " urls";
    return reading;
}

CountReading readWebcrawlerCount(const Lines& lines)
{
    CountReading reading;
    const int show = firstLineWith(lines, "- show");
    // The count stands on the line before "- show"; on the first line there
    // is none, which is the same as a page without the phrase.
    if (show == kNone || show == 0) {
        reading.reportLine = "Webcrawler found\t\t\t0 urls";
        return reading;
    }
    const std::string& line = lineAt(lines, show - 1);
    reading.setsPaging = true;
    if (line == "Result") {
        reading.reportLine = "Webcrawler found\t\t\t1 url";
        return reading; // count text "0": no further page
    }
    const int from = Pos("of", line) + 3;
    const std::string text = Copy(line, from, Length(line) - from);
    reading.value = StrToIntDef(text, 0);
    reading.reportLine = "Webcrawler found\t\t\t" + text + " urls";
    return reading;
}

CountReading readThunderstoneCount(const Lines& lines)
{
    static constexpr std::string_view kPhrase = "Matching sites";
    CountReading reading;
    const int i = lastLineWith(lines, kPhrase);
    if (i == kNone) {
        reading.reportLine = "Thunderstone found\t\t0 urls";
        return reading;
    }
    const std::string& line = lineAt(lines, i);
    const std::string text = Copy(line, 1, Pos(kPhrase, line) - 2);
    reading.reportLine = "Thunderstone found\t\t" + urlsAfter(text); // commas still in
    reading.value = StrToIntDef(removeAll(text, ","), 0);
    reading.setsPaging = true;
    return reading;
}

CountReading readSnapCount(const Lines& lines)
{
    static constexpr std::string_view kPhrase = "Page ";
    CountReading reading;
    const int i = firstLineWith(lines, kPhrase);
    if (i != kNone) {
        // "Page 1 of 37<": the total follows the phrase and "1 of ".
        const std::string& line = lineAt(lines, i);
        const int from = Pos(kPhrase, line) + 10;
        const int stop = PosFrom("<", line, from);
        reading.value = StrToIntDef(Copy(line, from, stop - from), 0);
        reading.setsPaging = true;
    }
    // Twenty results to a page; 64 bits so that a huge total cannot overflow.
    reading.reportLine = "Snap found\t\t\t" + IntToStr(static_cast<long long>(reading.value) * 20) + " urls";
    return reading;
}

CountReading readMagellanCount(const Lines& lines)
{
    static constexpr std::string_view kPhrase = "results returned";
    CountReading reading;
    reading.setsPaging = true; // count 0 and known even without the phrase
    const int i = lastLineWith(lines, kPhrase);
    if (i == kNone) {
        reading.reportLine = "Magellan found\t\t\t0 urls";
        return reading;
    }
    // "<b>312</b> results returned": from after "<b>" to before "</b> ".
    const std::string& line = lineAt(lines, i);
    const std::string text = Copy(line, 4, Pos(kPhrase, line) - 9);
    reading.value = StrToIntDef(text, 0);
    reading.reportLine = "Magellan found\t\t\t" + urlsAfter(text);
    return reading;
}

CountReading readNetfindAolCount(const Lines& lines)
{
    CountReading reading;
    reading.setsPaging = true; // count 0 and known even without the phrase
    const int i = lastLineWith(lines, "matches.");
    if (i == kNone) {
        reading.reportLine = "Netfind.Aol found\t\t\t0 urls";
        return reading;
    }
    const std::string& line = lineAt(lines, i);
    const int from = Pos("<b>", line) + 3;
    const int stop = PosFrom("</", line, from);
    const std::string text = Copy(line, from, stop - from);
    reading.value = StrToIntDef(text, 0);
    reading.reportLine = "Netfind.Aol found\t\t\t" + urlsAfter(text);
    return reading;
}

CountReading readPlanetSearchCount(const Lines& lines)
{
    static const std::string kLead = "PlanetSearch found\t\t                ";
    CountReading reading; // the text is shown as cut and never converted
    const int terms = lastLineWith(lines, "terms");
    // The count stands three lines below; a page that ends before it has no
    // count, the same as a page without the phrase.
    if (terms == kNone || static_cast<size_t>(terms) + 3 >= lines.size()) {
        reading.reportLine = kLead + "0 urls";
        return reading;
    }
    const std::string& line = lineAt(lines, terms + 3);
    const int from = Pos("SIZE=2>", line) + 7;
    std::string text = Copy(line, from, Length(line) - from);
    text = Copy(text, 1, Pos("&", text) - 1);
    reading.reportLine = kLead + urlsAfter(text);
    return reading;
}

} // namespace orv

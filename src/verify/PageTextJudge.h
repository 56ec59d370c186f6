#pragma once
// Judges a page on the text a reader sees. The page (UTF-8, as the decoder
// gives it) is parsed as HTML while it arrives; scripts, styles, templates,
// comments, tags and attribute values are not searched, entities are
// decoded, every run of white space is one blank, and the text is matched
// block by block (paragraph, heading, list item, table cell...), so that a
// phrase does not run from one block into the next. Letters compare by
// Unicode case folding on NFC text. Quotes, empty criteria and Any/All keep
// the meaning of the page source scans.
#include "core/MultiPatternSearch.h"
#include "verify/PageJudge.h"

#include <memory>
#include <optional>
#include <string>

namespace orv
{

class PageTextJudge : public PageJudge
{
public:
    // `plainText`: the page is not HTML (or cannot be parsed as such) and is
    // matched on its text as a whole.
    PageTextJudge(const WordLists& lists, bool plainText);
    ~PageTextJudge() override;

    bool add(std::string_view utf8) override;
    ScanVerdict verdict(ScanModes modes) override;

    // Called by the parser's callbacks.
    void startElement(std::string_view name, const char* const* attributes);
    void endElement(std::string_view name);
    void characters(std::string_view text);

private:
    struct Parser;

    void addText(std::string_view text);
    void endBlock();
    void matchHeld(size_t upTo);
    void finish();
    size_t foundIn(size_t first, size_t count) const;

    size_t exclusionCount_;
    size_t primaryCount_;
    size_t secondaryCount_;
    MultiPatternSearch search_;
    std::vector<bool> found_;
    size_t foundTotal_ = 0;
    MultiPatternSearch::State state_ = MultiPatternSearch::Start();

    std::unique_ptr<Parser> parser_; // null for plain text
    bool finished_ = false;
    int hidden_ = 0; // depth inside scripts, styles and templates
    std::string block_; // the current block's text, blanks collapsed
    bool pendingBlank_ = false;
    bool blockHasText_ = false; // also true once part of the block was matched
    std::string folded_; // reused for the folded text of a block

    bool inTitle_ = false;
    std::optional<std::string> title_;
    std::optional<std::string> meta_;
};

} // namespace orv

#include "verify/PageJudge.h"

#include "verify/CriteriaPatterns.h"

namespace orv
{

namespace
{

// The drawn scan over the page source: the bytes go to the scanner as they
// come, whatever their character set.
class SourceJudge final : public PageJudge
{
public:
    explicit SourceJudge(const WordLists& lists)
        : scanner_(CompiledCriteria(lists))
    {
    }

    bool add(std::string_view bytes) override { return scanner_.add(bytes); }
    ScanVerdict verdict(ScanModes modes) override { return scanner_.verdict(modes); }

private:
    PageScanner scanner_;
};

} // namespace

std::unique_ptr<PageJudge> MakePageJudge(const WordLists& lists, MatchOn on, const std::string& contentType)
{
    // Matching on page text needs its decoder; until then every page is
    // judged on its source.
    (void)on;
    (void)contentType;
    return std::make_unique<SourceJudge>(lists);
}

} // namespace orv

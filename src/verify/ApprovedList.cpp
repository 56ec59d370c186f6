#include "verify/ApprovedList.h"

namespace orv
{

UrlList::AddResult AddApprovedUrl(
    UrlList& urls, std::vector<std::string>& descriptions, std::string url, std::string description)
{
    const UrlList::AddResult result = urls.add(std::move(url));
    if (!result.added)
        return result;
    const size_t at = static_cast<size_t>(result.index);
    if (descriptions.size() < at)
        descriptions.resize(at, std::string(kNoDescription));
    descriptions.insert(descriptions.begin() + static_cast<std::ptrdiff_t>(at), std::move(description));
    return result;
}

} // namespace orv

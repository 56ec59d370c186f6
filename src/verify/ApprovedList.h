#pragma once
// The approved URL list and its description list, kept pairwise: entry i of
// the descriptions describes approved URL i. The URL list is sorted, so a
// description goes in at the place the URL took, not at the end.
#include "search/UrlList.h"

#include <string>
#include <vector>

namespace orv
{

// The description given to an approved URL that arrived without one.
inline constexpr std::string_view kNoDescription = "No Description";

// Adds `url` to the approved list and `description` at the same position.
// A URL already present changes nothing. When the description list has
// fallen short of the URL list (URLs pasted or dropped without one), it is
// first filled up with "No Description" so that the positions agree.
UrlList::AddResult AddApprovedUrl(
    UrlList& urls, std::vector<std::string>& descriptions, std::string url, std::string description);

} // namespace orv

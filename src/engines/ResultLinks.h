#pragma once
// What becomes of a link an engine's answer holds before it joins the master
// list: resolved against the answer's URL, taken out of the engine's redirect
// wrapper, and kept only when it is a web address.
#include "engines/EngineDefinition.h"

#include <optional>
#include <string>
#include <string_view>

namespace orv
{

// `link` resolved against `base` (RFC 3986), "//host" taking the base's
// scheme and an empty path becoming "/"; nothing unless the outcome is an
// http or https URL with a host.
std::optional<std::string> ResolveLink(std::string_view link, const std::string& base);

// The target a redirect wrapper holds; nothing when `link` is not wrapped
// the way `unwrap` says.
std::optional<std::string> UnwrapLink(const std::string& link, const LinkUnwrap& unwrap);

// Resolved, unwrapped when wrapped, resolved again: the URL to keep.
std::optional<std::string> FinishResultLink(
    std::string_view raw, const std::string& answerUrl, const std::optional<LinkUnwrap>& unwrap);

// %XX sequences decoded ("+" stays "+").
std::string PercentDecode(std::string_view text);

} // namespace orv

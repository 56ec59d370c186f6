#pragma once
// The next page an answer names: a form to submit again (a "Next" button with
// the hidden inputs that carry the engine's state) or a link.
#include "engines/EngineDefinition.h"
#include "engines/XmlHandles.h"

#include <optional>
#include <string>

namespace orv
{

// `node` is what next_page_xpath selected: a form element, an element with an
// href, or an href attribute. Nothing when it leads nowhere a browser would go.
std::optional<EngineRequest> NextPageRequest(xmlNode* node, const EngineDefinition& def, const std::string& answerUrl);

} // namespace orv

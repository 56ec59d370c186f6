#pragma once
// The two readers behind ReadAnswer, one per kind of answer. Each fills the
// links, the count, whether the page is a challenge and, when the page itself
// names it, the next page; ReadAnswer does what is common to both.
#include "engines/EngineDefinition.h"

#include <string>
#include <string_view>

namespace orv
{

struct AnswerContext {
    const EngineDefinition& def;
    std::string_view body;
    const std::string& answerUrl;
    const EngineRequest& asked;
};

// Sets `answer.next` only from `next_page_xpath`; `pagesOn` tells ReadAnswer
// whether the page says more pages follow (false when it shows none).
void ReadXpathAnswer(const AnswerContext& in, EngineAnswer& answer, bool& pagesOn);
void ReadJsonAnswer(const AnswerContext& in, EngineAnswer& answer, bool& pagesOn);

} // namespace orv

// The reader of the program: the definitions' own request builder and
// answer reader.
#include "search/DefinedEngineRun.h"

namespace orv
{

namespace
{

class DefinitionReader final : public AnswerReader
{
public:
    EngineRequest First(const EngineDefinition& def, std::string_view query) override
    {
        return FirstRequest(def, query);
    }
    EngineAnswer Read(const EngineDefinition& def, int status, const std::string& location, std::string_view body,
        const std::string& answerUrl, const EngineRequest& asked, int pageno, std::string_view query) override
    {
        return ReadAnswer(def, status, location, body, answerUrl, asked, pageno, query);
    }
};

} // namespace

AnswerReader& DefinitionAnswerReader()
{
    static DefinitionReader reader;
    return reader;
}

} // namespace orv

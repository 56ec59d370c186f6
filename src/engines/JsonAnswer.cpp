// Reading a JSON answer by key paths, the way SearXNG's json_engine reads it.
#include "engines/AnswerReaders.h"
#include "engines/ClaimedCount.h"
#include "engines/JsonQuery.h"
#include "engines/ResultLinks.h"
#include "engines/XpathPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace orv
{
namespace
{

std::optional<std::string> firstText(const QJsonValue& data, const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    const std::vector<QJsonValue> found = JsonQuery(data, path);
    if (found.empty())
        return std::nullopt;
    return JsonScalarText(found.front());
}

std::optional<std::string> urlOf(const EngineDefinition& def, const QJsonValue& result)
{
    std::optional<std::string> value = firstText(result, def.urlQuery);
    std::string prefix = def.urlPrefix;
    if (!value || value->empty()) {
        value = firstText(result, def.urlFallbackQuery);
        prefix = def.urlFallbackPrefix;
    }
    if (!value || value->empty())
        return std::nullopt;
    if (!def.urlBlankAs.empty())
        for (size_t at = value->find(' '); at != std::string::npos; at = value->find(' ', at + def.urlBlankAs.size()))
            value->replace(at, 1, def.urlBlankAs);
    return prefix + *value;
}

void addResult(const AnswerContext& in, EngineAnswer& answer, const QJsonValue& result)
{
    const EngineDefinition& def = in.def;
    const std::optional<std::string> url = urlOf(def, result);
    const std::optional<std::string> title = firstText(result, def.titleQuery);
    if (!url || !title)
        return;
    std::optional<std::string> finished = FinishResultLink(*url, in.answerUrl, def.unwrap);
    if (!finished)
        return;
    const std::string content = firstText(result, def.contentQuery).value_or(std::string());
    answer.links.push_back({ std::move(*finished), HtmlFragmentText(*title), HtmlFragmentText(content) });
}

} // namespace

void ReadJsonAnswer(const AnswerContext& in, EngineAnswer& answer, bool& pagesOn)
{
    const EngineDefinition& def = in.def;
    if (in.body.size() > kMaxAnswerBytes) {
        answer.problem = "the answer is larger than " + std::to_string(kMaxAnswerBytes / (1024 * 1024)) + " MiB";
        return;
    }
    QJsonParseError error {};
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray::fromRawData(in.body.data(), static_cast<qsizetype>(in.body.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        answer.problem = "the answer is not JSON (" + error.errorString().toStdString() + " at byte "
            + std::to_string(error.offset) + ")";
        return;
    }
    const QJsonValue root = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());

    if (!def.resultsQuery.empty()) {
        const std::vector<QJsonValue> found = JsonQuery(root, def.resultsQuery);
        if (!found.empty()) {
            if (found.front().isArray()) {
                for (const QJsonValue& item : found.front().toArray())
                    addResult(in, answer, item);
            } else if (found.front().isObject()) {
                addResult(in, answer, found.front());
            }
        }
    } else if (root.isArray()) {
        for (const QJsonValue& item : root.toArray())
            addResult(in, answer, item);
    } else {
        addResult(in, answer, root);
    }

    if (!def.countQuery.empty()) {
        const std::vector<QJsonValue> found = JsonQuery(root, def.countQuery);
        if (!found.empty())
            if (const std::optional<std::string> text = JsonScalarText(found.front()))
                answer.claimed = ClaimedCount(*text, def.countPattern);
    }
    if (!def.nextPageQuery.empty()) {
        const std::vector<QJsonValue> found = JsonQuery(root, def.nextPageQuery);
        pagesOn = !found.empty() && !found.front().isNull();
    }
}

} // namespace orv

#include "engines/AnswerReaders.h"
#include "engines/EngineDefinition.h"

#include <QUrl>

#include <algorithm>

namespace orv
{

EngineAnswer ReadAnswer(const EngineDefinition& def, int status, const std::string& location, std::string_view body,
    const std::string& answerUrl, const EngineRequest& asked, int pageno, std::string_view query)
{
    EngineAnswer answer;
    if (std::find(def.blockedStatus.begin(), def.blockedStatus.end(), status) != def.blockedStatus.end()) {
        answer.blocked = true;
        answer.reason = "HTTP " + std::to_string(status);
        return answer;
    }
    if (!location.empty() && !def.blockedRedirectPath.empty()) {
        const QUrl target = QUrl(QString::fromStdString(answerUrl)).resolved(QUrl(QString::fromStdString(location)));
        if (target.path().contains(QString::fromStdString(def.blockedRedirectPath))) {
            answer.blocked = true;
            answer.reason = "redirect to " + target.path().toStdString();
            return answer;
        }
    }
    if (status < 200 || status > 299) {
        answer.problem = "HTTP " + std::to_string(status);
        if (!location.empty())
            answer.problem += " to " + location;
        return answer;
    }

    const AnswerContext in { def, body, answerUrl, asked };
    bool pagesOn = true;
    if (def.kind == DefinedEngineKind::Json)
        ReadJsonAnswer(in, answer, pagesOn);
    else
        ReadXpathAnswer(in, answer, pagesOn);
    if (answer.blocked || !answer.problem.empty()) {
        answer.links.clear();
        answer.next.reset();
        return answer;
    }

    const bool lastPage = def.maxPage > 0 && pageno >= def.maxPage;
    if (lastPage)
        answer.next.reset();
    else if (def.nextPageXpath.empty() && def.paging && pagesOn && !answer.links.empty())
        answer.next = PageRequest(def, query, pageno + 1);
    return answer;
}

} // namespace orv

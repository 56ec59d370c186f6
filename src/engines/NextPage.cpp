#include "engines/NextPage.h"

#include "engines/EngineRequests.h"
#include "engines/ResultLinks.h"
#include "engines/XpathPage.h"

#include <QUrl>

#include <strings.h>

namespace orv
{
namespace
{

bool named(const xmlNode* node, const char* name)
{
    return node && node->type == XML_ELEMENT_NODE && ::strcasecmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

bool submitsWithForm(xmlNode* input)
{
    const std::string type = XpathPage::attribute(input, "type");
    for (const char* skipped : { "submit", "image", "button", "reset", "file" })
        if (::strcasecmp(type.c_str(), skipped) == 0)
            return false;
    if (::strcasecmp(type.c_str(), "checkbox") == 0 || ::strcasecmp(type.c_str(), "radio") == 0)
        return xmlHasProp(input, reinterpret_cast<const xmlChar*>("checked")) != nullptr;
    return true;
}

void collectInputs(xmlNode* node, std::vector<std::pair<std::string, std::string>>& fields)
{
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (named(child, "input")) {
            const std::string name = XpathPage::attribute(child, "name");
            if (!name.empty() && submitsWithForm(child))
                fields.emplace_back(name, XpathPage::attribute(child, "value"));
        }
        collectInputs(child, fields);
    }
}

std::optional<EngineRequest> formRequest(xmlNode* form, const EngineDefinition& def, const std::string& answerUrl)
{
    const std::string action = XpathPage::attribute(form, "action");
    std::optional<std::string> target = ResolveLink(action.empty() ? answerUrl : action, answerUrl);
    if (!target)
        return std::nullopt;
    std::vector<std::pair<std::string, std::string>> fields;
    collectInputs(form, fields);
    EngineRequest r;
    const bool post = ::strcasecmp(XpathPage::attribute(form, "method").c_str(), "post") == 0;
    r.method = post ? "POST" : "GET";
    if (post) {
        r.url = *target;
        r.body = FormBody(fields);
    } else {
        // A GET form replaces the query of its action with its fields.
        QUrl url(QString::fromStdString(*target));
        url.setQuery(QString::fromStdString(FormBody(fields)), QUrl::StrictMode);
        r.url = url.toEncoded().toStdString();
    }
    r.headers = RequestHeaders(def, post);
    return r;
}

} // namespace

std::optional<EngineRequest> NextPageRequest(xmlNode* node, const EngineDefinition& def, const std::string& answerUrl)
{
    if (!node)
        return std::nullopt;
    if (named(node, "form"))
        return formRequest(node, def, answerUrl);
    std::string href;
    if (node->type == XML_ATTRIBUTE_NODE || node->type == XML_TEXT_NODE)
        href = XpathPage::nodeText(node);
    else
        href = XpathPage::attribute(node, "href");
    const std::optional<std::string> target = ResolveLink(href, answerUrl);
    if (!target)
        return std::nullopt;
    EngineRequest r;
    r.url = *target;
    r.headers = RequestHeaders(def, false);
    return r;
}

} // namespace orv

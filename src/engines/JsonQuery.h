#pragma once
// Key paths into a JSON answer, read the way SearXNG's json_engine reads
// them: steps separated by "/", each naming an object key or a list index.
// A step that is not found at its level is looked for in every object and
// list below it, so "items/url" finds the url of every item. Matches at a
// level come before matches deeper down.
#include <QJsonValue>

#include <optional>
#include <string>
#include <vector>

namespace orv
{

std::vector<QJsonValue> JsonQuery(const QJsonValue& data, const std::string& path);

// A string or a number as text (whole numbers without a fraction); nothing
// for null, true/false, objects and lists.
std::optional<std::string> JsonScalarText(const QJsonValue& value);

} // namespace orv

#include "engines/JsonQuery.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace orv
{
namespace
{

bool isContainer(const QJsonValue& v)
{
    return v.isObject() || v.isArray();
}

// The child named `key` (an index for a list), when there is one.
std::optional<QJsonValue> child(const QJsonValue& data, const QString& key)
{
    if (data.isObject()) {
        const QJsonObject o = data.toObject();
        const auto it = o.constFind(key);
        if (it != o.constEnd())
            return *it;
        return std::nullopt;
    }
    bool ok = false;
    const int index = key.toInt(&ok);
    const QJsonArray a = data.toArray();
    if (ok && index >= 0 && index < a.size() && key == QString::number(index))
        return a.at(index);
    return std::nullopt;
}

template <typename F> void forEachChild(const QJsonValue& data, F f)
{
    if (data.isObject()) {
        const QJsonObject o = data.toObject();
        for (auto it = o.constBegin(); it != o.constEnd(); ++it)
            f(it.key(), it.value());
    } else if (data.isArray()) {
        const QJsonArray a = data.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            f(QString::number(i), a.at(i));
    }
}

void query(const QJsonValue& data, const std::vector<QString>& steps, size_t at, std::vector<QJsonValue>& out)
{
    if (!isContainer(data) || at >= steps.size())
        return;
    const QString& key = steps[at];
    const bool last = at + 1 == steps.size();
    if (const std::optional<QJsonValue> hit = child(data, key)) {
        if (last)
            out.push_back(*hit);
        else
            query(*hit, steps, at + 1, out);
    }
    forEachChild(data, [&](const QString& k, const QJsonValue& v) {
        if (k != key)
            query(v, steps, at, out);
    });
}

} // namespace

std::vector<QJsonValue> JsonQuery(const QJsonValue& data, const std::string& path)
{
    std::vector<QString> steps;
    for (const QString& s : QString::fromStdString(path).split(u'/', Qt::SkipEmptyParts))
        steps.push_back(s);
    std::vector<QJsonValue> out;
    if (!steps.empty())
        query(data, steps, 0, out);
    return out;
}

std::optional<std::string> JsonScalarText(const QJsonValue& value)
{
    if (value.isString())
        return value.toString().toStdString();
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15)
            return std::to_string(static_cast<long long>(d));
        return QString::number(d, 'g', 17).toStdString();
    }
    return std::nullopt;
}

} // namespace orv

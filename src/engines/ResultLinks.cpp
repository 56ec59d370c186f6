#include "engines/ResultLinks.h"

#include <QByteArray>
#include <QUrl>
#include <QUrlQuery>

namespace orv
{
namespace
{

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> queryValue(const std::string& link, const std::string& name)
{
    const QUrl url(QString::fromStdString(link), QUrl::TolerantMode);
    if (!url.hasQuery())
        return std::nullopt;
    // Split on "&" before decoding, so an encoded "&" inside the value stays in it.
    const QString encoded = url.query(QUrl::FullyEncoded);
    for (const QString& item : encoded.split(u'&')) {
        const qsizetype eq = item.indexOf(u'=');
        if (eq < 0 || item.left(eq) != QString::fromStdString(name))
            continue;
        return PercentDecode(item.mid(eq + 1).toStdString());
    }
    return std::nullopt;
}

} // namespace

std::string PercentDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = hexValue(text[i + 1]), lo = hexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::optional<std::string> ResolveLink(std::string_view link, const std::string& base)
{
    const QString text = QString::fromUtf8(link.data(), static_cast<qsizetype>(link.size())).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const QUrl baseUrl(QString::fromStdString(base), QUrl::TolerantMode);
    QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid())
        return std::nullopt;
    if (url.isRelative())
        url = baseUrl.resolved(url);
    const QString scheme = url.scheme().toLower();
    if ((scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        return std::nullopt;
    if (url.path().isEmpty())
        url.setPath(QStringLiteral("/"));
    return url.toEncoded().toStdString();
}

std::optional<std::string> UnwrapLink(const std::string& link, const LinkUnwrap& unwrap)
{
    if (!unwrap.queryParameter.empty())
        return queryValue(link, unwrap.queryParameter);
    if (!unwrap.base64Prefix.empty()) {
        const std::optional<std::string> value = queryValue(link, unwrap.base64Parameter);
        if (!value || value->rfind(unwrap.base64Prefix, 0) != 0)
            return std::nullopt;
        QByteArray coded = QByteArray::fromStdString(value->substr(unwrap.base64Prefix.size()));
        while (coded.size() % 4 != 0)
            coded += '=';
        auto decoded = QByteArray::fromBase64Encoding(
            coded, QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        return decoded.decoded.toStdString();
    }
    if (!unwrap.between.empty()) {
        const size_t start = link.find(unwrap.between);
        if (start == std::string::npos)
            return std::nullopt;
        const size_t from = start + unwrap.between.size();
        size_t end = unwrap.andMarker.empty() ? std::string::npos : link.find(unwrap.andMarker, from);
        if (end == std::string::npos)
            end = link.size();
        return PercentDecode(std::string_view(link).substr(from, end - from));
    }
    return std::nullopt;
}

std::optional<std::string> FinishResultLink(
    std::string_view raw, const std::string& answerUrl, const std::optional<LinkUnwrap>& unwrap)
{
    std::optional<std::string> link = ResolveLink(raw, answerUrl);
    if (!link || !unwrap)
        return link;
    const std::optional<std::string> inner = UnwrapLink(*link, *unwrap);
    if (!inner)
        return link;
    // A wrapper holding no web address keeps the wrapper: it still leads there.
    std::optional<std::string> target = ResolveLink(*inner, answerUrl);
    return target ? target : link;
}

} // namespace orv

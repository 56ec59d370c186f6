#include "search/UrlRecord.h"

#include "core/Text.h"

namespace orv {

std::string_view statusText(UrlStatus status)
{
    switch (status) {
    case UrlStatus::NotVerified:
        return "Not Verified";
    case UrlStatus::Verified:
        return "Verified";
    case UrlStatus::Timeout:
        return "Timeout";
    case UrlStatus::Error:
        return "Error";
    case UrlStatus::SiteNotFound:
        return "Site Not Found";
    case UrlStatus::FileNotFound:
        return "File Not Found";
    }
    return {};
}

std::string statusColumnText(char statusChar)
{
    if (statusChar >= '0' && statusChar <= '5')
        return std::string(statusText(static_cast<UrlStatus>(statusChar)));
    if (statusChar == '\0')
        return {};
    return std::string(1, statusChar);
}

std::string makeMasterRecord(std::string_view url, char checkDigit, char statusDigit)
{
    std::string record;
    record.reserve(url.size() + 2 * kRecordSeparator.size() + 2);
    record.append(url).append(kRecordSeparator);
    record += checkDigit;
    record.append(kRecordSeparator);
    record += statusDigit;
    return record;
}

std::string recordUrl(std::string_view record)
{
    const int at = Pos(kRecordSeparator, record);
    return at == 0 ? std::string() : Copy(record, 1, at - 1);
}

char recordCheckChar(std::string_view record)
{
    return CharAt(record, Length(recordUrl(record)) + 6);
}

char recordStatusChar(std::string_view record)
{
    return CharAt(record, Length(recordUrl(record)) + 12);
}

bool fitsInRecord(std::string_view url)
{
    return Pos(kRecordSeparator, url) == 0 && url.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace orv

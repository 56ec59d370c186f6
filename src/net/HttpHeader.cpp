#include "net/HttpHeader.h"

#include "core/Text.h"

namespace orv
{

bool ParseStatusLine(const std::string& line, int& statusCode, std::string& reasonPhrase)
{
    const std::string version = Copy(line, 1, 8);
    if (version != "HTTP/1.0" && version != "HTTP/1.1")
        return false;
    statusCode = StrToIntDef(Copy(line, 10, 3), 0);
    reasonPhrase = CopyFrom(line, 14);
    return true;
}

bool StatusLineHasCode(const std::string& line)
{
    if (line.size() < 12 || line[8] != ' ')
        return false;
    for (size_t i = 9; i < 12; ++i)
        if (line[i] < '0' || line[i] > '9')
            return false;
    return true;
}

bool SplitHeaderField(const std::string& line, std::string& name, std::string& value)
{
    const int colon = Pos(":", line);
    if (colon == 0)
        return false;
    name = LowerCase(Copy(line, 1, colon - 1));
    value = CopyFrom(line, colon + 2);
    return true;
}

long long HeaderNumber(const std::string& value)
{
    long long n = 0;
    for (char c : Trim(value)) {
        if (c < '0' || c > '9' || n > (1LL << 50))
            break;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace orv

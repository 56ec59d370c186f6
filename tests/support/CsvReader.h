#pragma once
// A reader of RFC 4180 CSV for tests, written apart from the exporter so
// that the two check each other. Malformed input fails the running test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::test
{

// An RFC 4180 reader: quoted fields may hold commas, doubled quotes and
// line breaks; records end in CR LF.
inline std::vector<std::vector<std::string>> readCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            EXPECT_TRUE(field.empty()) << "quote inside an unquoted field";
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            ++i;
        } else {
            EXPECT_NE(c, '\n') << "bare line feed outside quotes";
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "unterminated quoted field";
    EXPECT_TRUE(field.empty() && row.empty()) << "last record not ended by CR LF";
    return rows;
}

} // namespace orv::test

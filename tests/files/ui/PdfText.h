#pragma once
// Reads a PDF back as text with pdftotext, page by page.
#include "core/Lines.h"

#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::test
{

// The text of each page of a PDF, one string per non-empty line.
inline std::vector<Lines> pdfPages(const std::string& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), { QString::fromStdString(pdf), QStringLiteral("-") });
    EXPECT_TRUE(process.waitForFinished(60000));
    // The font's ligatures come back as single characters; spell them out.
    QString decoded = QString::fromUtf8(process.readAllStandardOutput());
    const char* ligatures[] = { "ff", "fi", "fl", "ffi", "ffl" };
    for (char16_t c = 0xFB00; c <= 0xFB04; ++c)
        decoded.replace(QChar(c), QLatin1String(ligatures[c - 0xFB00]));
    const std::string text = decoded.toStdString();
    std::vector<Lines> pages;
    size_t start = 0;
    for (;;) {
        const size_t ff = text.find('\f', start);
        if (ff == std::string::npos)
            break;
        Lines page;
        for (std::string& line : SplitLines(text.substr(start, ff - start)))
            if (!line.empty())
                page.push_back(std::move(line));
        pages.push_back(std::move(page));
        start = ff + 1;
    }
    return pages;
}

} // namespace orv::test

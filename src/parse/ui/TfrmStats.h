#pragma once
// The "Search Engine Report" window: one line per engine parsed in the last
// search run, the numbers lined up by TABs. Created hidden with the main
// window, shown on demand, hidden again by "&Ok" with its lines kept.
#include <QWidget>

#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfrmStats : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmStats(QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* memStatus = nullptr; // read-only; holds the report lines
    QPushButton* butOk = nullptr;

    // Empties the report, which the window's layout fills with a placeholder.
    void FormCreate();
    // Hides the window; it stays alive with its lines.
    void butOkClick();

    // The report lines (bytes, as the parsers write them).
    void addReportLine(const std::string& line);
    std::vector<std::string> reportLines() const;
    void clearReport();

    static constexpr int kHelpContext = 650;
};

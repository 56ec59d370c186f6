#include "parse/ui/TfrmStats.h"

#include "platform/WidgetText.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TfrmStats::TfrmStats(QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("Search Engine Report"));
    setFixedSize(330, 294); // a fixed single border: the client area does not change
    setProperty("helpContext", kHelpContext);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(4, 2, 322, 288);

    Label1 = new QLabel(QStringLiteral("Search Engine Status Report"), GroupBox1);
    QFont font = Label1->font();
    font.setPixelSize(13);
    Label1->setFont(font);
    Label1->setGeometry(8, 12, 306, 18);

    memStatus = new QPlainTextEdit(GroupBox1);
    memStatus->setObjectName(QStringLiteral("memStatus"));
    memStatus->setGeometry(4, 34, 313, 209);
    memStatus->setReadOnly(true);
    memStatus->setLineWrapMode(QPlainTextEdit::NoWrap);
    memStatus->setTabStopDistance(40);
    memStatus->setPlainText(QStringLiteral("memStatus"));

    butOk = new QPushButton(QStringLiteral("&Ok"), GroupBox1);
    butOk->setObjectName(QStringLiteral("butOk"));
    butOk->setGeometry(123, 252, 75, 25);
    connect(butOk, &QPushButton::clicked, this, [this] { butOkClick(); });

    FormCreate();
}

void TfrmStats::FormCreate()
{
    clearReport();
}

void TfrmStats::butOkClick()
{
    hide();
}

void TfrmStats::addReportLine(const std::string& line)
{
    memStatus->appendPlainText(orv::toQ(line));
}

std::vector<std::string> TfrmStats::reportLines() const
{
    std::vector<std::string> lines;
    if (memStatus->document()->isEmpty())
        return lines;
    for (const QString& line : memStatus->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(orv::fromQ(line));
    return lines;
}

void TfrmStats::clearReport()
{
    memStatus->clear();
}

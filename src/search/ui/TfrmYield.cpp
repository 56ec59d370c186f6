#include "search/ui/TfrmYield.h"

#include "core/Text.h"
#include "platform/WidgetText.h"
#include "platform/ui/DesktopLook.h"

#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace
{

constexpr int kBarValueRole = Qt::UserRole; // approved count of the row
constexpr int kBarMaximumRole = Qt::UserRole + 1; // largest approved count of the table

// Paints a cell of the bar column as a horizontal bar, as long against the
// cell as the row's approved count is against the largest one.
class YieldBarDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, QModelIndex());
        const int value = index.data(kBarValueRole).toInt();
        const int maximum = index.data(kBarMaximumRole).toInt();
        if (value <= 0 || maximum <= 0)
            return;
        const QRect area = option.rect.adjusted(3, 4, -3, -4);
        const int width = std::max(2, static_cast<int>(static_cast<long long>(area.width()) * value / maximum));
        painter->save();
        painter->fillRect(QRect(area.left(), area.top(), width, area.height()), option.palette.highlight());
        painter->restore();
    }
};

QTableWidgetItem* numberItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TfrmYield::TfrmYield(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmYield"));
    setWindowTitle(QStringLiteral("Engine Yield"));

    gridYield = new QTableWidget(0, 9, this);
    gridYield->setObjectName(QStringLiteral("gridYield"));
    // Each heading says in its tooltip what the column counts.
    const std::pair<const char*, const char*> columns[] = {
        { "Engine", "The search engine, in the order the search asks them" },
        { "Claimed", "How many results the engine said it had (\"-\" when its page told no number)" },
        { "Pages", "How many result pages were fetched from the engine" },
        { "Links", "How many result links were taken from those pages" },
        { "New", "How many of those links no engine asked earlier had brought" },
        { "Verified", "How many of the engine's URLs were fetched and found (status \"Verified\")" },
        { "Approved", "How many of the engine's URLs passed the criteria into \"Your Results\"" },
        { "Share of Approved", "The engine's approved count beside the largest one of this search" },
        { "Blocked", "Why the engine would not answer: its status, a challenge page or a captcha" },
    };
    for (int c = 0; c < gridYield->columnCount(); ++c) {
        auto* heading = new QTableWidgetItem(QString::fromLatin1(columns[c].first));
        heading->setToolTip(QString::fromLatin1(columns[c].second));
        gridYield->setHorizontalHeaderItem(c, heading);
    }
    gridYield->verticalHeader()->hide();
    gridYield->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridYield->setSelectionMode(QAbstractItemView::NoSelection);
    gridYield->setFocusPolicy(Qt::NoFocus);
    gridYield->setItemDelegateForColumn(kBarColumn, new YieldBarDelegate(gridYield));
    gridYield->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    gridYield->horizontalHeader()->setSectionResizeMode(kBarColumn, QHeaderView::Stretch);
    gridYield->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The table asks for the room of all its rows, so that the ten engines
    // show without scrolling.
    gridYield->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);

    butOk = new QPushButton(QStringLiteral("&Ok"), this);
    butOk->setObjectName(QStringLiteral("butOk"));
    connect(butOk, &QPushButton::clicked, this, &QWidget::hide);
    orv::CloseOnEscape(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridYield);
    layout->addWidget(butOk, 0, Qt::AlignHCenter);
    resize(600, 330);
}

void TfrmYield::showYield(const std::vector<orv::EngineYieldRow>& rows)
{
    int mostApproved = 0;
    for (const auto& row : rows)
        mostApproved = std::max(mostApproved, row.approved);

    gridYield->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const orv::EngineYieldRow& row = rows[static_cast<size_t>(r)];
        gridYield->setItem(r, 0, new QTableWidgetItem(orv::toQ(row.displayName())));
        gridYield->setItem(r, 1, numberItem(row.claimed.empty() ? QStringLiteral("-") : orv::toQ(row.claimed)));
        const int counts[] = { row.pages, row.links, row.newUrls, row.verified, row.approved };
        for (int c = 0; c < 5; ++c)
            gridYield->setItem(r, 2 + c, numberItem(QString::number(counts[c])));
        auto* bar = new QTableWidgetItem();
        bar->setData(kBarValueRole, row.approved);
        bar->setData(kBarMaximumRole, mostApproved);
        gridYield->setItem(r, kBarColumn, bar);
        gridYield->setItem(r, kBlockedColumn, new QTableWidgetItem(row.blocked ? orv::toQ(row.reason) : QString()));
    }
    adjustSize();
    resize(std::max(width(), kMinimumWidth), height());
}

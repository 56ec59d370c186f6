// Creation of the URL list views and the counters of the "Main" tab, kept
// apart from where they are placed so the window layout can adopt them.
#include "app/TForm1.h"
#include "platform/ui/UrlListView.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

void TForm1::CreateUrlListsAndViews()
{
    masterUrls.clear();
    approvedUrls.clear();
    masterDescriptions.clear();
    approvedDescriptions.clear();

    ListView1 = new orv::UrlListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumns({ QStringLiteral("Search Engine Results"), QStringLiteral("Status") });
    ListView1->setCheckBoxes(true);
    ListView1->setMultiSelect(true);
    ListView1->setDragSource(true);

    ListView2 = new orv::UrlListView(this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setColumns({ QStringLiteral("Your Results") });
    ListView2->setMultiSelect(true);
    ListView2->setAcceptRowDrops(true);
    ListView2->header()->setStretchLastSection(true); // the one column spans the view
    ListView2->hide();

    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        SetLabelText(l, text);
        return l;
    };
    lblRawCount = label("lblRawCount", "0");
    lblMaster = label("lblMaster", "Total Urls");
    lblCheckedCount = label("lblCheckedCount", "0");
    lblCheckedCaption = label("lblCheckedCaption", "Checked Urls");
    lblApprovedCount = label("lblApprovedCount", "0 ");
    lblConfirmed = label("lblConfirmed", "Confirmed Urls");
}

void TForm1::LayOutUrlListsProvisionally(QWidget* central)
{
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->addWidget(ListView1);
    splitter->addWidget(ListView2);
    ListView1->setColumnWidth(0, 300);
    ListView1->setColumnWidth(1, 120);
    ListView2->hide();

    // The counters sit at fixed places; the caption labels move with the
    // width of their numbers.
    auto* counters = new QWidget(central);
    counters->setFixedHeight(32);
    const struct {
        QLabel* number;
        QLabel* caption;
        int left;
    } rows[] = { { lblRawCount, lblMaster, 8 }, { lblCheckedCount, lblCheckedCaption, 168 },
        { lblApprovedCount, lblConfirmed, 328 } };
    for (const auto& row : rows) {
        row.number->setParent(counters);
        row.caption->setParent(counters);
        row.number->move(row.left, 8);
        row.caption->move(row.left + row.number->width() + 8, 8);
    }

    if (auto* layout = qobject_cast<QVBoxLayout*>(central->layout())) {
        layout->addWidget(splitter, 1);
        layout->addWidget(counters);
    }
}

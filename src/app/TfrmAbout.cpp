#include "app/TfrmAbout.h"

#include "app/ToolbarGlyphs.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent)
{
    frmAbout = this;
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orvalen"));
    setModal(false);

    auto* column = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(orv::drawnLogo(QSize(220, 80), picture->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);
    column->addWidget(picture);
    auto* version = new QLabel(QStringLiteral("Orvalen version 1.0\nA meta-search tool: ask ten search engines "
                                              "at once,\nthen keep the pages that meet your criteria."),
        this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    column->addWidget(version);
    butOk = new QPushButton(QStringLiteral("&Ok"), this);
    butOk->setObjectName(QStringLiteral("butOk"));
    butOk->setDefault(true);
    column->addWidget(butOk, 0, Qt::AlignCenter);
    connect(butOk, &QPushButton::clicked, this, [this] { butOkClick(); });
    setFixedSize(sizeHint());
}

TfrmAbout::~TfrmAbout()
{
    if (frmAbout == this)
        frmAbout = nullptr;
}

void TfrmAbout::butOkClick()
{
    hide();
}

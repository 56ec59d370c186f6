#include "files/ui/TfrmPrint.h"

#include "files/ui/PrintLines.h"
#include "platform/Dialogs.h"
#include "platform/ui/QtDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmPrint::TfrmPrint(QWidget* parent)
    : QDialog(parent)
    , printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setWindowTitle(QStringLiteral("Print Url list"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    lblSelect = new QLabel(QStringLiteral("Select List to Print"), this);
    radRaw = new QRadioButton(QStringLiteral("Raw Search Results"), this);
    radFiltered = new QRadioButton(QStringLiteral("Filtered Search Results"), this);
    radBoth = new QRadioButton(QStringLiteral("Both Lists"), this);
    radRaw->setChecked(true);
    butOK = new QPushButton(QStringLiteral("&Ok"), this);
    butCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(butOK);
    buttons->addWidget(butCancel);
    for (QWidget* w : { static_cast<QWidget*>(lblSelect), static_cast<QWidget*>(radRaw),
             static_cast<QWidget*>(radFiltered), static_cast<QWidget*>(radBoth) })
        layout->addWidget(w);
    layout->addLayout(buttons);
    connect(butOK, &QPushButton::clicked, this, &TfrmPrint::butOKClick);
    connect(butCancel, &QPushButton::clicked, this, &TfrmPrint::butCancelClick);

    // The Qt dialogs configure this window's printer when they are the ones
    // installed; scripted dialogs in tests leave it as it is.
    if (auto* qtDialogs = dynamic_cast<orv::QtDialogs*>(&orv::Dialogs::current()))
        qtDialogs->setPrinter(printer_.get());
}

TfrmPrint::~TfrmPrint() = default;

orv::PrintChoice TfrmPrint::choice() const
{
    if (radFiltered->isChecked())
        return orv::PrintChoice::Filtered;
    if (radBoth->isChecked())
        return orv::PrintChoice::Both;
    return orv::PrintChoice::Raw;
}

void TfrmPrint::butOKClick()
{
    try {
        if (!orv::Dialogs::current().print()) {
            hide();
            return;
        }
        const orv::Lines lines = linesFor ? linesFor(choice()) : orv::Lines();
        orv::PrintLines(*printer_, lines, fontToPrint ? fontToPrint() : font());
        hide();
    } catch (const std::exception& e) {
        // The window stays open so the user can try again or cancel.
        orv::Dialogs::current().error(e.what());
    }
}

void TfrmPrint::butCancelClick()
{
    hide();
}

#include "browse/ui/TFindDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);
    auto* row = new QHBoxLayout;
    lblFind = new QLabel(QStringLiteral("Fi&nd what:"), this);
    row->addWidget(lblFind);
    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    // The label's "&" is the access key of the text box, not a character.
    lblFind->setBuddy(edFind);
    row->addWidget(edFind);
    butFindNext = new QPushButton(QStringLiteral("&Find Next"), this);
    butFindNext->setDefault(true);
    butFindNext->setEnabled(false);
    butCancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(butFindNext);
    buttons->addWidget(butCancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    // Like the system's find box, Find Next waits for some text.
    connect(edFind, &QLineEdit::textChanged, this, [this](const QString& t) { butFindNext->setEnabled(!t.isEmpty()); });
    connect(butFindNext, &QPushButton::clicked, this, &TFindDialog::findNext);
    connect(butCancel, &QPushButton::clicked, this, &QDialog::hide);
}

void TFindDialog::showFind()
{
    show();
    raise();
    activateWindow();
    // Typing goes into the text box every time, replacing what was there.
    edFind->setFocus(Qt::ActiveWindowFocusReason);
    edFind->selectAll();
}

QString TFindDialog::findText() const
{
    return edFind->text();
}

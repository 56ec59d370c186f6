#include "browse/ui/TfrmDescription.h"

#include "app/TForm1.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmDescription* frmDescription = nullptr;

TfrmDescription::TfrmDescription(QWidget* parent)
    : QWidget(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    frmDescription = this;
    setObjectName(QStringLiteral("frmDescription"));
    setWindowTitle(QStringLiteral("Description"));
    setFocusPolicy(Qt::StrongFocus);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    lblDescription = new QLabel(QStringLiteral("Site Descriptions"), GroupBox1);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setTextFormat(Qt::PlainText); // descriptions come from web pages
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette black = lblDescription->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblDescription->setPalette(black);
    lblReason = new QLabel(GroupBox1);
    lblReason->setObjectName(QStringLiteral("lblReason"));
    lblReason->setWordWrap(true);
    lblReason->setTextFormat(Qt::PlainText); // reasons may quote a server
    lblReason->hide();
    auto* groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->addWidget(lblDescription, 1);
    groupLayout->addWidget(lblReason);

    memSiteUrl = new QPlainTextEdit(this);
    memSiteUrl->setObjectName(QStringLiteral("memSiteUrl"));
    memSiteUrl->setReadOnly(true);
    memSiteUrl->setFixedHeight(48);

    BitBtn1 = new QPushButton(QStringLiteral("&Go to Site"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("&Ok"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(memSiteUrl);
    layout->addLayout(buttons);
    setFixedSize(400, 260); // a fixed single border

    GroupBox1->installEventFilter(this);
    lblDescription->installEventFilter(this);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmDescription::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmDescription::BitBtn2Click);
}

TfrmDescription::~TfrmDescription()
{
    if (frmDescription == this)
        frmDescription = nullptr;
}

void TfrmDescription::FormClick()
{
    hide();
}

void TfrmDescription::lblDescriptionClick()
{
    hide();
}

void TfrmDescription::GroupBox1Click()
{
    hide();
}

void TfrmDescription::FormKeyPress(int)
{
    hide();
}

void TfrmDescription::FormMouseMove() { }

void TfrmDescription::BitBtn1Click()
{
    // popGotoPageClick swallows its own errors; it uses the main window's
    // selections, not the memo.
    if (Form1)
        Form1->popGotoPageClick();
    hide();
}

void TfrmDescription::BitBtn2Click()
{
    hide();
}

bool TfrmDescription::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblDescription) {
            lblDescriptionClick();
            return true;
        }
        if (watched == GroupBox1) {
            GroupBox1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmDescription::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        FormClick();
}

void TfrmDescription::mouseMoveEvent(QMouseEvent*)
{
    FormMouseMove();
}

void TfrmDescription::keyPressEvent(QKeyEvent* event)
{
    // Only keys that reach the window itself: a focused control that passes
    // a key on (a button, the read-only memo) keeps the window open.
    const QWidget* focus = focusWidget();
    if ((!focus || focus == this) && !event->text().isEmpty()) {
        FormKeyPress(event->text().at(0).unicode());
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmDescription::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Centred on the screen when first shown; where the user moves it, it stays.
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

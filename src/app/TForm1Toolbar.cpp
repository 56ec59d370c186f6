// The toolbar: ten speed buttons, the three run buttons and the logo at the
// right end (the search animation takes the logo's place during runs).
#include "app/TForm1.h"

#include "app/ToolbarGlyphs.h"
#include "platform/ui/Animate.h"
#include "platform/ui/Jpeg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace
{

QToolButton* speedButton(QWidget* parent, const char* name, orv::Glyph glyph, const char* hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(orv::toolbarGlyph(glyph));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setFixedSize(25, 25);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromLatin1(hint));
    return button;
}

QPushButton* runButton(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setFixedSize(70, 25);
    return button;
}

} // namespace

void TForm1::createToolbar()
{
    Panel1 = new QFrame(clientArea_);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Raised);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(1);

    using orv::Glyph;
    spdNew = speedButton(Panel1, "spdNew", Glyph::New, "New Search Criteria");
    spdOpen = speedButton(Panel1, "spdOpen", Glyph::Open, "Open Existing Results File");
    spdSave = speedButton(Panel1, "spdSave", Glyph::Save, "Save Search File");
    spdCut = speedButton(Panel1, "spdCut", Glyph::Cut, "Cut to Clipboard");
    spdCopy = speedButton(Panel1, "spdCopy", Glyph::Copy, "Copy to Clipboard");
    spdPaste = speedButton(Panel1, "spdPaste", Glyph::Paste, "Paste from Clipboard");
    spdDelete = speedButton(Panel1, "spdDelete", Glyph::Delete, "Delete Record(s)");
    spdFind = speedButton(Panel1, "spdFind", Glyph::Find, "Find Record");
    spdPrint = speedButton(Panel1, "spdPrint", Glyph::Print, "Print List(s)");
    spdHelp = speedButton(Panel1, "spdHelp", Glyph::Help, "Help");

    // Groups: files, editing, finding and printing, help.
    for (QToolButton* b : { spdNew, spdOpen, spdSave })
        row->addWidget(b);
    row->addSpacing(8);
    for (QToolButton* b : { spdCut, spdCopy, spdPaste, spdDelete })
        row->addWidget(b);
    row->addSpacing(8);
    for (QToolButton* b : { spdFind, spdPrint })
        row->addWidget(b);
    row->addSpacing(6);
    row->addWidget(spdHelp);
    row->addSpacing(10);

    butSearch = runButton(Panel1, "butSearch", "&Search", "Initiate New Search");
    butAbort = runButton(Panel1, "butAbort", "&Abort", "Abort Search/Retrieval");
    butRetrieve = runButton(Panel1, "butRetrieve", "&Retrieve", "Verify Sites");
    row->addWidget(butSearch);
    row->addSpacing(4);
    row->addWidget(butAbort);
    row->addSpacing(4);
    row->addWidget(butRetrieve);
    row->addStretch(1);

    // The logo and the animation share the right end; one of them shows.
    imgLogo = new QLabel(Panel1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedHeight(41);
    imgLogo->setMaximumWidth(110);
    // On a narrow window the logo gives way (cut on its right) rather than
    // pushing the buttons over each other.
    imgLogo->setMinimumWidth(1);
    imgLogo->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    imgLogo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Drawn or scaled for the screen's pixels, so that it stays sharp at
    // 150% and 200%.
    const qreal scale = imgLogo->devicePixelRatioF();
    const QImage logo = orv::loadLogo(programFolder_, scale);
    if (logo.isNull()) {
        imgLogo->setPixmap(orv::drawnLogo(imgLogo->size(), scale));
    } else {
        QPixmap picture
            = QPixmap::fromImage(logo.scaled(imgLogo->size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        picture.setDevicePixelRatio(scale);
        imgLogo->setPixmap(picture);
    }
    row->addWidget(imgLogo);

    Animate1 = new TAnimate(Panel1);
    Animate1->setObjectName(QStringLiteral("Animate1"));
    Animate1->setStopFrame(23);
    Animate1->hide();
    row->addWidget(Animate1);
}

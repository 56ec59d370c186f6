#include "app/TForm1.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

TForm1* Form1 = nullptr;

TForm1::TForm1(std::string programFolder, QWidget* parent)
    : QMainWindow(parent)
    , programFolder_(std::move(programFolder))
{
    Form1 = this;
    setWindowTitle(QStringLiteral("Orvalen"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    lblCurrentEngine = new QLabel(central);
    layout->addWidget(lblCurrentEngine);
    CreateUrlListsAndViews();
    LayOutUrlListsProvisionally(central);
    setCentralWidget(central);
    resize(640, 480);
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

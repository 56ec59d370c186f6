#pragma once
// The About window: the program's name, version and picture. Shown without
// blocking the main window; "&Ok" hides it.
#include <QDialog>

class QPushButton;

class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    QPushButton* butOk = nullptr;

    void butOkClick();
};

// The single About window, set while it exists.
extern TfrmAbout* frmAbout;

#pragma once
// The find dialog: a small modeless window with a text box, Find Next and
// Cancel. Each press of Find Next raises `findNext`; the text stays for the
// next press.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QLabel* lblFind = nullptr;
    QLineEdit* edFind = nullptr;
    QPushButton* butFindNext = nullptr;
    QPushButton* butCancel = nullptr;

    // Shows the dialog, or brings it back, with the focus in the text box
    // and its text selected.
    void showFind();
    QString findText() const;

signals:
    void findNext();
};

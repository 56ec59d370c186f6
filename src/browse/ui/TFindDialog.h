#pragma once
// The find dialog: a small modeless window with a text box, Find Next and
// Cancel. Each press of Find Next raises `findNext`; the text stays for the
// next press.
#include <QDialog>

class QLineEdit;
class QPushButton;

class TFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFindDialog(QWidget* parent = nullptr);

    QLineEdit* edFind = nullptr;
    QPushButton* butFindNext = nullptr;
    QPushButton* butCancel = nullptr;

    QString findText() const;

signals:
    void findNext();
};

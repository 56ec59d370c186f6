#pragma once
// The print window "Print Url list": the choice of list to print and the
// print dialog. It is created once and only shown and hidden afterwards, so
// the choice stays from one use to the next.
#include "files/Printout.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;

class TfrmPrint : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPrint(QWidget* parent = nullptr);
    ~TfrmPrint() override;

    QLabel* lblSelect = nullptr;
    QRadioButton* radRaw = nullptr;
    QRadioButton* radFiltered = nullptr;
    QRadioButton* radBoth = nullptr;
    QPushButton* butOK = nullptr;
    QPushButton* butCancel = nullptr;

    // The printer that the print and printer set-up dialogs configure.
    QPrinter& printer() { return *printer_; }

    orv::PrintChoice choice() const;

    // Supplies the lines for a choice and the font to print them in; set by
    // the main window.
    std::function<orv::Lines(orv::PrintChoice)> linesFor;
    std::function<QFont()> fontToPrint;

    void butOKClick();
    void butCancelClick();

private:
    std::unique_ptr<QPrinter> printer_;
};

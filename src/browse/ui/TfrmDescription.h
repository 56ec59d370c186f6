#pragma once
// The site description window: the description of the selected URL(s) in
// a label and the URL(s) in a read-only memo, with "&Go to Site" and "&Ok".
// It is created once, after the main window, and afterwards only shown and
// hidden. A click on its background, its group box or its label, a key
// pressed while the window itself has the focus, and "&Ok" hide it; "&Go to
// Site" opens the main window's selected URL and hides it.
#include <QWidget>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfrmDescription : public QWidget
{
    Q_OBJECT

public:
    // With a parent, the window is destroyed with it (the main window).
    explicit TfrmDescription(QWidget* parent = nullptr);
    ~TfrmDescription() override;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* lblDescription = nullptr;
    // Why the row ended as it did ("Error: certificate has expired"); hidden
    // while there is no reason to show.
    QLabel* lblReason = nullptr;
    QPlainTextEdit* memSiteUrl = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Go to Site"
    QPushButton* BitBtn2 = nullptr; // "&Ok"

    void FormClick();
    void lblDescriptionClick();
    void GroupBox1Click();
    void FormKeyPress(int key);
    void FormMouseMove();
    void BitBtn1Click();
    void BitBtn2Click();

    // The help topic of the window in the (external) help file.
    static constexpr int kHelpContext = 660;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool centred_ = false;
};

// The single description window, set while it exists.
extern TfrmDescription* frmDescription;

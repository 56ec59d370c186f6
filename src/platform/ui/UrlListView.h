#pragma once
// A list view in report style for URL rows: a caption column, optionally a
// status column, optional check boxes, multiple selection of whole rows,
// read-only. It can start drags of its rows and accept drops of another
// view's rows; what a drop means is left to whoever handles the signals.
//
// Row positions count from 0. Texts are bytes. Changing many rows at once
// goes between beginUpdate() and endUpdate(), which repaint once.
#include "platform/ui/UrlListModel.h"

#include <QTreeView>

#include <string>
#include <vector>

namespace orv {

class UrlListView : public QTreeView {
    Q_OBJECT

public:
    explicit UrlListView(QWidget* parent = nullptr);
    ~UrlListView() override;

    // Column set-up.
    void setColumns(const QStringList& captions);
    void setCheckBoxes(bool on);
    bool checkBoxes() const { return model_->checkable(); }
    // Several rows at once (the default) or one row only.
    void setMultiSelect(bool on);
    bool multiSelect() const;
    // Rows can be dragged out of this view.
    void setDragSource(bool on);
    // Drags over this view are offered to the dragOver and dropped signals.
    void setAcceptRowDrops(bool on);

    // Rows.
    int count() const { return static_cast<int>(model_->rows().size()); }
    int addRow(const std::string& caption, const std::string& status = {}, bool checked = false);
    void removeRow(int row);
    // Removes the rows at these positions (ascending, each once) at once;
    // the selection is cleared.
    void removeRows(const std::vector<int>& ascending);
    void clear();
    void beginUpdate() { model_->beginBatch(); }
    void endUpdate() { model_->endBatch(); }

    const std::string& caption(int row) const;
    void setCaption(int row, const std::string& text);
    const std::string& status(int row) const;
    // A new status replaces the reason of the old one.
    void setStatus(int row, const std::string& text, const std::string& reason = {});
    // Why the row's status is what it is; empty when nothing was said.
    const std::string& reason(int row) const;
    bool checked(int row) const;
    void setChecked(int row, bool on);
    int checkedCount() const;

    // Selection and focus.
    std::vector<int> selectedRows() const; // ascending
    int selectedCount() const;
    int firstSelected() const; // -1 without a selection
    bool isSelected(int row) const;
    void setSelected(int row, bool on);
    void selectRow(int row) { setSelected(row, true); }
    // Gives `row` the focus state without changing the selection.
    void setCurrentRow(int row);
    int currentRow() const;
    // Scrolls `row` into view; unless `fully`, a partly visible row stays put.
    void scrollToRow(int row, bool fully = false);

    UrlListModel* rowModel() const { return model_; }

signals:
    // A mouse click in the view, after any tick it changed took effect.
    void viewClicked();
    // A key pressed in the view, before the view's own handling. The list
    // command keys (Delete, Ctrl+X, Ctrl+C, Ctrl+V) are left to the handler.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    // The user ticked or cleared the box of `row`.
    void checkToggled(int row);
    // Rows of `source` (nullptr when they come from elsewhere) are dragged
    // over this view; set *accept to take them.
    void dragOver(orv::UrlListView* source, bool* accept);
    // Rows of `source` were dropped on this view.
    void dropped(orv::UrlListView* source);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    UrlListView* dragSourceOf(const QDropEvent* event) const;
    bool offerDrag(QDropEvent* event);
    void checkRow(int row) const;

    UrlListModel* model_;
    bool acceptRowDrops_ = false;
};

} // namespace orv

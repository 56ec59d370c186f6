#include "platform/ui/UrlListView.h"

#include "core/Errors.h"
#include "core/Text.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>
#include <set>

namespace orv {

namespace {

// Views alive in this process, so that the address in drag data can be
// trusted only when it names one of them.
std::set<const UrlListView*>& liveViews()
{
    static std::set<const UrlListView*> views;
    return views;
}

bool isListCommandKey(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete)
        return true;
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (mods != Qt::ControlModifier)
        return false;
    return event->key() == Qt::Key_X || event->key() == Qt::Key_C || event->key() == Qt::Key_V;
}

} // namespace

UrlListView::UrlListView(QWidget* parent)
    : QTreeView(parent)
    , model_(new UrlListModel(this))
{
    liveViews().insert(this);
    model_->setDragToken(reinterpret_cast<quintptr>(this));
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(model_, &UrlListModel::checkToggled, this, &UrlListView::checkToggled);
}

UrlListView::~UrlListView()
{
    liveViews().erase(this);
}

void UrlListView::setColumns(const QStringList& captions)
{
    model_->setColumns(captions);
}

void UrlListView::setCheckBoxes(bool on)
{
    model_->setCheckable(on);
}

void UrlListView::setMultiSelect(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool UrlListView::multiSelect() const
{
    return selectionMode() == QAbstractItemView::ExtendedSelection;
}

void UrlListView::setDragSource(bool on)
{
    model_->setDragEnabled(on);
    setDragEnabled(on);
    if (on && !acceptRowDrops_)
        setDragDropMode(QAbstractItemView::DragOnly);
    else if (on)
        setDragDropMode(QAbstractItemView::DragDrop);
}

void UrlListView::setAcceptRowDrops(bool on)
{
    acceptRowDrops_ = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
}

void UrlListView::checkRow(int row) const
{
    if (row < 0 || row >= count())
        throw Exception("List index out of bounds (" + IntToStr(row) + ")");
}

int UrlListView::addRow(const std::string& caption, const std::string& status, bool checked)
{
    return model_->appendRow(UrlListRow { caption, status, checked, {} });
}

void UrlListView::removeRow(int row)
{
    checkRow(row);
    model_->removeRowAt(row);
}

void UrlListView::removeRows(const std::vector<int>& ascending)
{
    model_->removeRows(ascending);
}

void UrlListView::clear()
{
    model_->clearRows();
}

const std::string& UrlListView::caption(int row) const
{
    checkRow(row);
    return model_->rows()[static_cast<size_t>(row)].caption;
}

void UrlListView::setCaption(int row, const std::string& text)
{
    checkRow(row);
    model_->rows()[static_cast<size_t>(row)].caption = text;
    model_->rowChanged(row);
}

const std::string& UrlListView::status(int row) const
{
    checkRow(row);
    return model_->rows()[static_cast<size_t>(row)].status;
}

void UrlListView::setStatus(int row, const std::string& text, const std::string& reason)
{
    checkRow(row);
    UrlListRow& r = model_->rows()[static_cast<size_t>(row)];
    r.status = text;
    r.reason = reason;
    model_->rowChanged(row);
}

const std::string& UrlListView::reason(int row) const
{
    checkRow(row);
    return model_->rows()[static_cast<size_t>(row)].reason;
}

bool UrlListView::checked(int row) const
{
    checkRow(row);
    return model_->rows()[static_cast<size_t>(row)].checked;
}

void UrlListView::setChecked(int row, bool on)
{
    checkRow(row);
    model_->rows()[static_cast<size_t>(row)].checked = on;
    model_->rowChanged(row);
}

int UrlListView::checkedCount() const
{
    const auto& rows = model_->rows();
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const UrlListRow& r) { return r.checked; }));
}

std::vector<int> UrlListView::selectedRows() const
{
    // Rows are selected whole, so the selection's ranges name the rows;
    // reading them is linear, where asking row by row whether each is
    // selected costs the square of the ranges.
    std::vector<int> rows;
    const int lastColumn = model_->columnCount() - 1;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.left() > 0 || range.right() < lastColumn)
            continue;
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int UrlListView::selectedCount() const
{
    return static_cast<int>(selectedRows().size());
}

int UrlListView::firstSelected() const
{
    const std::vector<int> rows = selectedRows();
    return rows.empty() ? -1 : rows.front();
}

bool UrlListView::isSelected(int row) const
{
    return row >= 0 && row < count() && selectionModel()->isRowSelected(row, {});
}

void UrlListView::setSelected(int row, bool on)
{
    checkRow(row);
    selectionModel()->select(model_->index(row, 0),
        (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | QItemSelectionModel::Rows);
}

void UrlListView::setCurrentRow(int row)
{
    checkRow(row);
    selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
}

int UrlListView::currentRow() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void UrlListView::scrollToRow(int row, bool fully)
{
    checkRow(row);
    const QModelIndex index = model_->index(row, 0);
    if (!fully) {
        const QRect rect = visualRect(index);
        if (rect.isValid() && rect.bottom() >= 0 && rect.top() < viewport()->height())
            return;
    }
    scrollTo(index, QAbstractItemView::EnsureVisible);
}

void UrlListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    emit viewClicked();
}

void UrlListView::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->modifiers());
    if (isListCommandKey(event)) {
        event->accept();
        return;
    }
    // Space ticks or clears the focused row, whichever column has the focus.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && checkBoxes() && currentRow() >= 0) {
        const QModelIndex box = model_->index(currentRow(), 0);
        model_->setData(box, checked(currentRow()) ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

UrlListView* UrlListView::dragSourceOf(const QDropEvent* event) const
{
    const QMimeData* mime = event->mimeData();
    if (!mime || !mime->hasFormat(QString::fromLatin1(UrlListModel::kMimeType)))
        return nullptr;
    bool ok = false;
    const quintptr token
        = static_cast<quintptr>(mime->data(QString::fromLatin1(UrlListModel::kMimeType)).toULongLong(&ok));
    if (!ok)
        return nullptr;
    for (const UrlListView* view : liveViews())
        if (reinterpret_cast<quintptr>(view) == token)
            return const_cast<UrlListView*>(view);
    return nullptr;
}

bool UrlListView::offerDrag(QDropEvent* event)
{
    bool accept = false;
    if (acceptRowDrops_)
        emit dragOver(dragSourceOf(event), &accept);
    if (accept)
        event->acceptProposedAction();
    else
        event->ignore();
    return accept;
}

void UrlListView::dragEnterEvent(QDragEnterEvent* event)
{
    offerDrag(event);
}

void UrlListView::dragMoveEvent(QDragMoveEvent* event)
{
    offerDrag(event);
}

void UrlListView::dropEvent(QDropEvent* event)
{
    if (!offerDrag(event))
        return;
    emit dropped(dragSourceOf(event));
}

} // namespace orv

#include "platform/ui/UrlListModel.h"

#include "platform/WidgetText.h"

#include <QMimeData>

namespace orv {

UrlListModel::UrlListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void UrlListModel::setColumns(const QStringList& captions)
{
    beginResetModel();
    columns_ = captions;
    endResetModel();
}

void UrlListModel::setCheckable(bool on)
{
    checkable_ = on;
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), { Qt::CheckStateRole });
}

void UrlListModel::beginBatch()
{
    if (batchDepth_++ == 0)
        beginResetModel();
}

void UrlListModel::endBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        endResetModel();
}

int UrlListModel::appendRow(UrlListRow row)
{
    const int at = static_cast<int>(rows_.size());
    if (batchDepth_ > 0) {
        rows_.push_back(std::move(row));
    } else {
        beginInsertRows({}, at, at);
        rows_.push_back(std::move(row));
        endInsertRows();
    }
    return at;
}

void UrlListModel::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    if (batchDepth_ > 0) {
        rows_.erase(rows_.begin() + row);
    } else {
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
}

void UrlListModel::removeRows(const std::vector<int>& ascending)
{
    beginBatch();
    auto next = ascending.begin();
    size_t kept = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        while (next != ascending.end() && *next < static_cast<int>(i))
            ++next;
        if (next != ascending.end() && *next == static_cast<int>(i))
            continue;
        if (kept != i)
            rows_[kept] = std::move(rows_[i]);
        ++kept;
    }
    rows_.resize(kept);
    endBatch();
}

void UrlListModel::clearRows()
{
    if (batchDepth_ > 0) {
        rows_.clear();
    } else {
        beginResetModel();
        rows_.clear();
        endResetModel();
    }
}

void UrlListModel::rowChanged(int row)
{
    if (batchDepth_ == 0 && row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int UrlListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int UrlListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant UrlListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const UrlListRow& row = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return toQ(row.caption);
        if (index.column() == 1)
            return toQ(row.status);
    }
    if (role == Qt::ToolTipRole && index.column() == 1 && !row.reason.empty())
        return toQ(row.reason);
    if (role == Qt::CheckStateRole && checkable_ && index.column() == 0)
        return row.checked ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool UrlListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !checkable_ || !index.isValid() || index.column() != 0)
        return false;
    UrlListRow& row = rows_[static_cast<size_t>(index.row())];
    const bool checked = value.toInt() == Qt::Checked;
    if (row.checked == checked)
        return true;
    row.checked = checked;
    emit dataChanged(index, index, { Qt::CheckStateRole });
    emit checkToggled(index.row());
    return true;
}

Qt::ItemFlags UrlListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (checkable_ && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    if (dragEnabled_)
        f |= Qt::ItemIsDragEnabled;
    return f;
}

QVariant UrlListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columns_.size())
        return columns_[section];
    return {};
}

QStringList UrlListModel::mimeTypes() const
{
    return { QString::fromLatin1(kMimeType) };
}

QMimeData* UrlListModel::mimeData(const QModelIndexList& indexes) const
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kMimeType), QByteArray::number(static_cast<qulonglong>(dragToken_)));
    QStringList captions;
    for (const QModelIndex& i : indexes)
        if (i.column() == 0 && i.row() < rowCount())
            captions << toQ(rows_[static_cast<size_t>(i.row())].caption);
    mime->setText(captions.join(QLatin1Char('\n')));
    return mime;
}

} // namespace orv

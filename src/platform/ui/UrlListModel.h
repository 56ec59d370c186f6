#pragma once
// The rows behind a URL list view: a caption, a status text and a tick per
// row, kept in one vector so that a hundred thousand rows cost one reset of
// the view rather than a signal per row. Texts are UTF-8.
#include <QAbstractTableModel>
#include <QStringList>

#include <string>
#include <vector>

namespace orv {

struct UrlListRow {
    std::string caption;
    std::string status;
    bool checked = false;
    std::string reason = {}; // why the status is what it is ("Error"); the status cell's tooltip
};

class UrlListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The drag format: the address of the view the rows come from, so that
    // a drop handler can name its source.
    static constexpr const char* kMimeType = "application/x-orvalen-url-rows";

    explicit UrlListModel(QObject* parent = nullptr);

    void setColumns(const QStringList& captions);
    void setCheckable(bool on);
    bool checkable() const { return checkable_; }
    void setDragEnabled(bool on) { dragEnabled_ = on; }
    // The token written into drag data; the view sets its own address.
    void setDragToken(quintptr token) { dragToken_ = token; }

    // Within a batch rows change without a signal per row; the end of the
    // outermost batch resets every view of the model once.
    void beginBatch();
    void endBatch();

    std::vector<UrlListRow>& rows() { return rows_; }
    const std::vector<UrlListRow>& rows() const { return rows_; }

    int appendRow(UrlListRow row);
    void removeRowAt(int row);
    // Removes the rows at these positions (ascending, each once) in one
    // pass, with one reset of the views in place of a signal per row.
    void removeRows(const std::vector<int>& ascending);
    void clearRows();
    // Tells the views that row `row` changed (after writing rows() directly).
    void rowChanged(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction | Qt::MoveAction; }

signals:
    // The user ticked or cleared the box of `row`.
    void checkToggled(int row);

private:
    QStringList columns_;
    std::vector<UrlListRow> rows_;
    bool checkable_ = false;
    bool dragEnabled_ = false;
    quintptr dragToken_ = 0;
    int batchDepth_ = 0;
};

} // namespace orv

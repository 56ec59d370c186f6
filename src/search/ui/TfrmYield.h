#pragma once
// The "Engine Yield" window: per engine of the last search run, what it
// claimed, the pages fetched, links taken, new URLs, verified and approved
// URLs, and a bar of its approved count beside each row so that the engine
// worth asking stands out. Made by the main window on first use, refreshed
// each time it is shown, hidden by "&Ok".
#include "search/EngineYield.h"

#include <QWidget>

#include <vector>

class QPushButton;
class QTableWidget;

class TfrmYield : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmYield(QWidget* parent = nullptr);

    QTableWidget* gridYield = nullptr;
    QPushButton* butOk = nullptr;

    // Fills the table, one row per engine, in search order.
    void showYield(const std::vector<orv::EngineYieldRow>& rows);

    // The column of the bars.
    static constexpr int kBarColumn = 7;
    static constexpr int kBlockedColumn = 8; // why an engine was blocked, empty when it was not
    // Wide enough for the numbers and a bar that can be told apart.
    static constexpr int kMinimumWidth = 600;
};

#pragma once

// The grid's model keeps no texts: row i is entry i of the main window's file list, and every cell
// asks the main window for its text when it is painted. Rows are added and removed only as the
// main window says, so the row count can be checked against the list.

#include <QAbstractTableModel>
#include <array>

class TFormMain;

struct GridColumn {
    const char* header;
    int width;
    bool visible;
    bool resizable;
};

constexpr int GridColumnCount = 11;
extern const std::array<GridColumn, GridColumnCount> GridColumns;

class FileGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FileGridModel(TFormMain& form);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void appendRow();
    void setRows(int count);   // every row anew
    void repaint();            // every cell asks for its text again

private:
    TFormMain& form;
    int rows = 0;
};

#include "FileGridModel.h"

#include "UnitMain.h"

const std::array<GridColumn, GridColumnCount> GridColumns = {{
    {"Path", 50, false, false},
    {"V1", 25, true, false},
    {"V2", 25, true, false},
    {"Filename", 125, true, true},
    {"Title", 125, true, true},
    {"Artist", 125, true, true},
    {"Album", 125, true, true},
    {"Year", 40, true, true},
    {"Track", 50, true, true},
    {"Genre", 100, true, true},
    {"Comment", 250, true, true},
}};

FileGridModel::FileGridModel(TFormMain& mainForm)
    : QAbstractTableModel(&mainForm), form(mainForm)
{
}

int FileGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows;
}

int FileGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant FileGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole) {
        const QString text = form.vtgridGetText(index.row(), index.column());
        // A row without a file has been reported, and its cells say so.
        return index.row() < static_cast<int>(form.FileList.size()) ? text : QStringLiteral("ERROR LOADING");
    }
    if (role == Qt::BackgroundRole)
        return form.vtgridBeforeItemErase(index.row());
    if (role == Qt::ForegroundRole) {
        const QVariant background = form.vtgridBeforeItemErase(index.row());
        return background.isValid() ? QVariant(gridTextColor(background.value<QColor>())) : QVariant();
    }
    return {};
}

Qt::ItemFlags FileGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QVariant FileGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= GridColumnCount)
        return {};
    return QString::fromLatin1(GridColumns[section].header);
}

void FileGridModel::appendRow()
{
    beginInsertRows({}, rows, rows);
    ++rows;
    endInsertRows();
}

void FileGridModel::setRows(int count)
{
    beginResetModel();
    rows = count;
    endResetModel();
}

void FileGridModel::repaint()
{
    if (rows > 0)
        emit dataChanged(index(0, 0), index(rows - 1, GridColumnCount - 1), {Qt::DisplayRole});
}

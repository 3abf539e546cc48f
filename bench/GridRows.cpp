#include "Measure.h"
#include "Rows.h"

#include "FileGridModel.h"
#include "Registry.h"
#include "UnitMain.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTabWidget>
#include <QTreeView>
#include <memory>

namespace {

const char* const Words[] = {"river", "Night", "blue", "Summer", "echo", "Stone", "light", "Ümlaut", "dance",
                             "Gold", "rain", "Fire", "heart", "Road", "zero", "Électrique"};

// An entry as the file list holds it after reading, with texts that vary from row to row.
std::unique_ptr<TMpegFile> entry(int index)
{
    quint32 state = quint32(index) * 2654435761u + 7;
    const auto word = [&state] {
        state = state * 1664525u + 1013904223u;
        return QString::fromUtf8(Words[state >> 28]);
    };
    auto file = std::make_unique<TMpegFile>();
    const QString artist = word() + QLatin1Char(' ') + word();
    const QString title = word() + QLatin1Char(' ') + word() + QLatin1Char(' ') + word();
    const int track = index % 14 + 1;
    file->FileName = QStringLiteral("/music/%1/%2 %3.mp3").arg(artist).arg(track, 2, 10, QLatin1Char('0')).arg(title);
    file->HasID3v1 = true;
    file->ID3v1Kind = ID3v1_1;
    setId3v1Text(file->ID3v1.Title, 30, title);
    setId3v1Text(file->ID3v1.Artist, 30, artist);
    file->ID3v1.setTrack(quint8(track));
    file->ID3v1.Genre = quint8(index % 80);
    file->HasID3v2 = true;
    MakeNewID3v2Header(file->ID3v2);
    file->ID3v2.Title = title;
    file->ID3v2.Artist = artist;
    file->ID3v2.Album = word() + QStringLiteral(" album");
    file->ID3v2.Year = QString::number(1960 + index % 60);
    file->ID3v2.Track = index % 3 == 0 ? QString::number(track) : QStringLiteral("%1/14").arg(track);
    file->ID3v2.Genre = QStringLiteral("(%1)").arg(index % 80);
    file->ID3v2.Comment = word();
    return file;
}

}  // namespace

void addGridRows(ResultTable& table, int rows, int repeats)
{
    Registry().writeBool(QStringLiteral("Option Load Files Startup"), false);
    TFormMain form;
    form.resize(1280, 900);
    form.show();
    form.PageControlTag->setCurrentWidget(form.TabSheetV2);
    for (int i = 0; i < rows; ++i)
        form.FileList.push_back(entry(i));
    form.RebuildGrid();
    QCoreApplication::processEvents();

    for (int column = 0; column < GridColumnCount; ++column) {
        table.row(QStringLiteral("5 SortFiles by %1 (column %2)").arg(QString::fromLatin1(GridColumns[size_t(column)].header)).arg(column),
                  timeRuns(repeats, [&] { form.SortFiles(column); }), rows, QStringLiteral("row"));
    }

    QTreeView& grid = *form.vtgrid;
    const int screenRows = grid.viewport()->height() / std::max(grid.sizeHintForRow(0), 1) + 1;
    constexpr int Screens = 1000;
    table.row(QStringLiteral("5 vtgridGetText, one screen (%1 rows x %2 columns) x %3").arg(screenRows).arg(GridColumnCount).arg(Screens),
              timeRuns(repeats, [&] {
                  for (int screen = 0; screen < Screens; ++screen) {
                      const int first = (screen * 7919) % (rows - screenRows);
                      for (int row = first; row < first + screenRows; ++row) {
                          for (int column = 0; column < GridColumnCount; ++column)
                              keep(form.vtgridGetText(row, column).size());
                      }
                  }
              }),
              Screens, QStringLiteral("screen"));
    constexpr int Paints = 100;
    table.row(QStringLiteral("5 painting the grid's screen (offscreen) x %1").arg(Paints), timeRuns(repeats, [&] {
                  for (int paint = 0; paint < Paints; ++paint) {
                      grid.verticalScrollBar()->setValue((paint * 7919) % rows);
                      grid.viewport()->repaint();
                  }
              }),
              Paints, QStringLiteral("paint"));
}

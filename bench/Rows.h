#pragma once

// The benchmark's sections, each adding its rows to the table.

#include <QString>
#include <QStringList>

class ResultTable;

// The lower bound, TMpegFile::ReadFromFile and TagLib, reading every file; `cold`: each run after
// the files' pages were dropped from the page cache.
void addReadRows(ResultTable& table, const QStringList& files, int repeats, bool cold = false);
// The memory that `count` files held open add to the program, read from `files` in turn.
void addMemoryRows(ResultTable& table, const QStringList& files, int count);
// A changed title saved in place into copies of `files` made in `folder`.
void addSaveRows(ResultTable& table, const QStringList& files, const QString& folder, int repeats);
// The main window's grid with `rows` entries: sorting and the texts of one screen of rows.
void addGridRows(ResultTable& table, int rows, int repeats);
// The main window opening each of `counts` files with its progress window, the files hard links
// to `files` made in `folder`.
void addOpenRows(ResultTable& table, const QStringList& files, const QString& folder, const QList<int>& counts,
                 int repeats);

// Results the compiler must not drop as unused.
void keep(qint64 value);

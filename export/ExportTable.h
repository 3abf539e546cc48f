#pragma once

// The table of strings the export builds from the open files: row 0 the field names, then one
// row per file in grid order, one column per exported field.

#include <QList>
#include <QString>
#include <QStringList>

class TMpegFile;

using ExportTable = QList<QStringList>;

// The twelve fields that can be exported, in the order the dialog offers them.
extern const QStringList ExportFieldNames;

// The file's size in bytes / 1000, rounded to the nearest integer, a half to the even one.
QString exportSizeText(qint64 bytes);
// "m:ss".
QString exportLengthText(qint32 seconds);

// The cells of one file for the given fields (compared ignoring case; an unknown field gives an
// empty cell), tag texts from the ID3v1 block or the ID3v2 tag. Throws TextFileError when the
// size is asked for and the file cannot be opened.
QStringList exportRow(const TMpegFile& file, bool id3v1Page, const QStringList& fields);

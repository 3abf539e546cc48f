#pragma once

// The three ways an export table becomes a file. Each writes row 0 first and every row with as
// many cells as row 0 has; an existing file is replaced only by a whole new one.

#include "ExportTable.h"

// A workbook through the spreadsheet application. Throws SpreadsheetError when it cannot be saved.
bool ExportToExcel(const ExportTable& table, const QString& fileName);

// Cells each followed by ";"; a cell holding ";", a double quote or a line break is written in
// double quotes, its own double quotes doubled. False, told to the user, when the file cannot be
// created; throws TextFileError when a line cannot be written.
bool ExportToCsv(const ExportTable& table, const QString& fileName);

// A page with one styled table row per table row. False, told to the user, when the file cannot
// be created; throws TextFileError when a line cannot be written.
bool ExportToHtml(const ExportTable& table, const QString& fileName);

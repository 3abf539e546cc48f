#pragma once

// What the file grid shows: the text of one cell of a file on either tag page, the key a column
// sorts by, and the colour of a row. ID3v1 texts are read as the export reads them (TagFieldTexts.h).

#include <QColor>
#include <QString>

class TMpegFile;

enum class TagPage { V1, V2 };

// Column -1 (no column) and 0 give the full path; 1 and 2 the tag versions; 3 the file name;
// 4 to 10 title, artist, album, year, track, genre and comment of the page's tag version.
QString gridCellText(const TMpegFile& file, int column, TagPage page);

// Track texts sort by number: a single digit, or a digit before "/", gains a leading "0".
QString trackSortKey(const QString& track);

// A grid colour setting as a colour: the system window colour follows the style.
QColor gridColor(qint32 setting);
// The text colour of a row painted in a colour of its own: black or white, whichever has the higher
// contrast ratio with the row's colour, whatever the colour scheme's own text colour.
QColor gridTextColor(const QColor& background);
// The setting of a colour the user picked (0xAARRGGBB): its red, green and blue alone, so no pick
// can stand for the system window colour.
qint32 pickedGridColor(quint32 rgba);

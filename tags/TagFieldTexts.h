#pragma once

// The texts of tag fields as the windows, the export and the playlist names show them.

#include <QString>

// Removes the characters with codes 0 to 32 at both ends.
QString trimmedText(const QString& text);

// Characters counted by code point: one beyond the 16-bit range is one character and is never cut
// in half.
qsizetype characterCount(const QString& text);
QString leftCharacters(const QString& text, qsizetype count);

// An ID3v1 text field up to its first zero byte, trimmed.
QString id3v1FieldText(const char* field, int width);

// The genre list's name of an ID3v1 genre byte; empty from 148 on.
QString id3v1GenreName(quint8 genre);

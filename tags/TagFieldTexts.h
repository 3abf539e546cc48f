#pragma once

// The texts of tag fields as the windows, the export and the playlist names show them.

#include <QString>

// Removes the characters with codes 0 to 32 at both ends.
QString trimmedText(const QString& text);

// Characters counted by code point: one beyond the 16-bit range is one character and is never cut
// in half.
qsizetype characterCount(const QString& text);
// At most `count` characters, ending where a character as the user sees it ends: a letter keeps
// the marks that follow it, or goes with them.
QString leftCharacters(const QString& text, qsizetype count);

// The text as an ID3v1 field of `width` characters holds it: composed first, as the block stores
// it, so an accent written as a mark after its letter does not take a character of its own.
QString id3v1FieldFit(const QString& text, int width);

// An ID3v1 text field up to its first zero byte, trimmed.
QString id3v1FieldText(const char* field, int width);

// The genre list's name of an ID3v1 genre byte; empty from 148 on.
QString id3v1GenreName(quint8 genre);

#pragma once

// Guessing tag fields from a file name by a guess format such as "#ARTIST# - #TITLE#".

#include <QList>
#include <QString>

struct GuessedValue {
    QString placeholder;   // "#TITLE#", "#ARTIST#", ... or any other "#...#" group
    QString value;         // untrimmed
};

// The value of every placeholder of the format, in format order. The separators between the
// placeholders are matched in turn, each at its first occurrence in what is left of the name; a
// placeholder whose separator is not found takes the rest of the name, and those after it nothing.
// The name loses its folder and its last four characters (".mp3"); underscores become blanks.
QList<GuessedValue> guessFromFileName(const QString& format, const QString& fileName);

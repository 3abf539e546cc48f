#pragma once

// Text and file helpers shared by the tag library, the main window's commands, the album writer
// and the encoder front-end.

#include <QChar>
#include <QString>
#include <QStringList>

QString ReplaceChar(const QString& text, QChar oldChar, QChar newChar);
bool IsWordChar(QChar c);
QString CapitalizeWords(const QString& text);
QString ApplyDictionaryWords(const QString& text, const QStringList& words);

// The words of the "Dictionary Words" setting: items end at ";" or at any blank or control
// character unless they are in double quotes; a ";" at the very end adds an empty word.
QStringList DictionaryWordList(const QString& setting);

// Waits while the application keeps processing its events. Delay(0) returns at once.
void Delay(quint32 milliseconds);
// Tests shorten every wait by this factor (1 in the program); events are still processed.
void setDelayScale(double factor);

// Files whose names are not valid UTF-8 cannot be opened by name: one message tells how many the
// listing left out.
void ListFiles(const QString& folder, const QString& mask, QStringList& list, bool recursive);

// A file's last-write time in nanoseconds since the epoch (UTC), the file system's full
// precision, so that keeping a time stamp keeps it exactly; -1 = no date.
using TFileDate = qint64;
bool GetFileDate(const QString& fileName, TFileDate& date);
bool SetFileDate(const QString& fileName, TFileDate date);

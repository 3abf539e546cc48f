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

// Waits while the application keeps processing its events.
void Delay(quint32 milliseconds);

void ListFiles(const QString& folder, const QString& mask, QStringList& list, bool recursive);

// A file's last-write time in milliseconds since the epoch (UTC); -1 = no date.
using TFileDate = qint64;
bool GetFileDate(const QString& fileName, TFileDate& date);
bool SetFileDate(const QString& fileName, TFileDate date);

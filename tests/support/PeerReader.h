#pragma once

// Another program's tag reader, Python's mutagen, as the independent judge of what the files the
// tests write hold.

#include <QList>
#include <QString>
#include <QStringList>

#include "QStringPrinter.h"

// Runs a Python script with the arguments; its output lines, or one line "failed: ..." when it fails.
QStringList runPeerScript(const char* script, const QStringList& arguments);

// Every frame of each file's ID3v2 tag as the peer reads it, in file order: its key and a digest
// of everything it holds ("COMM:iTunNORM:eng 3f2a..."). One list per file, in the order given.
QList<QStringList> framesByPeer(const QStringList& paths);
QStringList framesByPeer(const QString& path);
// The same list without the frames of the ids or keys ("COMM::eng") the save was asked to edit.
QStringList withoutFrames(const QStringList& frames, const QStringList& ids);

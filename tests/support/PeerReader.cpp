#include "PeerReader.h"

#include <QProcess>

namespace {

// repr() of a frame holds its encoding, texts and data, so two digests are equal only when the
// frames hold the same. A frame the peer does not know is taken as it reads known ones: without
// the length before its data and with its unsynchronisation undone.
const char* const FramesScript = R"(
import hashlib, sys
from mutagen.id3 import ID3
from mutagen.id3._util import unsynch

def content(tag, raw):
    data, format = raw[10:], raw[9]
    if tag.version >= (2, 4, 0):
        if format & 0x09:
            data = data[4:]
        if format & 0x02 or tag.f_unsynch:
            try:
                data = unsynch.decode(data)
            except ValueError:
                pass
    return data

for path in sys.argv[1:]:
    print("file")
    try:
        tag = ID3(path, translate=False, load_v1=False)
    except Exception as error:
        print("unreadable %s" % type(error).__name__)
        continue
    for frame in tag.values():
        print(frame.HashKey, hashlib.sha1(repr(frame).encode()).hexdigest())
    for raw in tag.unknown_frames:
        print(raw[:4].decode("latin-1"), "unknown", hashlib.sha1(content(tag, raw)).hexdigest())
)";

}  // namespace

QStringList runPeerScript(const char* script, const QStringList& arguments)
{
    QProcess python;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    python.setProcessEnvironment(environment);
    // The system's Python, where the distribution's package installs mutagen.
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + arguments);
    if (!python.waitForFinished(120000) || python.exitCode() != 0)
        return {QStringLiteral("failed: ") + QString::fromUtf8(python.readAllStandardError())};
    return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QStringList> framesByPeer(const QStringList& paths)
{
    QList<QStringList> files;
    for (const QString& line : runPeerScript(FramesScript, paths)) {
        if (line == QLatin1String("file"))
            files.append(QStringList());
        else if (files.isEmpty())
            return {{line}};
        else
            files.last().append(line);
    }
    return files;
}

QStringList framesByPeer(const QString& path)
{
    const QList<QStringList> files = framesByPeer(QStringList{path});
    return files.size() == 1 ? files.first() : QStringList{QStringLiteral("no answer for ") + path};
}

QStringList withoutFrames(const QStringList& frames, const QStringList& ids)
{
    QStringList kept;
    for (const QString& frame : frames) {
        const QString key = frame.section(QLatin1Char(' '), 0, 0);
        if (!ids.contains(key) && !ids.contains(key.left(4)))
            kept.append(frame);
    }
    return kept;
}

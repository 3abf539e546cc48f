#include "Corpus.h"

#include "AudioFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

// About eight seconds of audio: enough for the whole VBR search window behind the tag.
constexpr int AudioFrames = 300;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("Cannot write " + path.toStdString());
}

QByteArray pictureFrameData(int seed, int size)
{
    QByteArray data = QByteArray("\0image/jpeg\0\3\0", 14);
    data.reserve(size);
    quint32 state = quint32(seed) * 2654435761u + 1;
    while (data.size() < size) {
        state = state * 1664525u + 1013904223u;
        data.append(char(state >> 24));
    }
    return data;
}

// Audio data is as varied as compressed data is; only the frame sync byte never appears in it, so
// no false frame header is found.
QByteArray frameWithData(const fixtures::MpegFrameShape& shape, quint32& state)
{
    QByteArray frame = fixtures::mpegFrame(shape);
    for (qsizetype i = 4; i < frame.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        frame[i] = char((state >> 24) % 255);
    }
    return frame;
}

// Frames of one bitrate, or of changing bitrates after a first frame whose Xing header counts them.
QByteArray audioFrames(bool variable)
{
    const int bitrateIndexes[] = {9, 11, 7, 10, 13, 8};
    fixtures::MpegFrameShape shape;
    quint32 state = 12345;
    QByteArray audio = variable ? fixtures::xingFrame(shape, quint32(AudioFrames)) : QByteArray();
    for (int i = 0; i < AudioFrames; ++i) {
        if (variable)
            shape.bitrateIndex = bitrateIndexes[i % 6];
        audio += frameWithData(shape, state);
    }
    return audio;
}

QByteArray tagFor(int index, int pictureBytes)
{
    fixtures::ID3v2TagBuilder tag(3);
    tag.textFrame("TIT2", QStringLiteral("Title of song %1").arg(index))
        .textFrame("TPE1", QStringLiteral("Artist %1").arg(index % 97))
        .textFrame("TALB", QStringLiteral("Album %1").arg(index % 211))
        .textFrame("TYER", QStringLiteral("19%1").arg(index % 100, 2, 10, QLatin1Char('0')))
        .textFrame("TRCK", QStringLiteral("%1/12").arg(index % 12 + 1))
        .textFrame("TCON", QStringLiteral("(17)"))
        .commentFrame("eng", QString(), QStringLiteral("Made for the benchmark"))
        .textFrame("TENC", QStringLiteral("LAME"));
    if (pictureBytes > 0)
        tag.frame("APIC", pictureFrameData(index, pictureBytes));
    return tag.padding(1024).build();
}

QByteArray id3v1For(int index)
{
    fixtures::ID3v1Fields fields;
    fields.title = "Title of song " + QByteArray::number(index);
    fields.artist = "Artist " + QByteArray::number(index % 97);
    fields.album = "Album " + QByteArray::number(index % 211);
    fields.year = "1999";
    fields.comment = "Made for the benchmark";
    fields.track = index % 12 + 1;
    fields.genre = 17;
    return fixtures::id3v1Block(fields);
}

}  // namespace

Corpus makeCorpus(const QString& folder, int files)
{
    Corpus corpus;
    const QByteArray constant = audioFrames(false);
    const QByteArray variable = audioFrames(true);
    const struct {
        const char* name;
        int pictureBytes;
        QStringList& files;
    } sets[] = {{"pictured", PictureBytes, corpus.pictured}, {"large", LargePictureBytes, corpus.largePictured},
                {"plain", 0, corpus.plain}};
    for (const auto& set : sets) {
        const QString subfolder = folder + QLatin1Char('/') + QLatin1String(set.name);
        QDir().mkpath(subfolder);
        QStringList& list = set.files;
        for (int i = 0; i < files; ++i) {
            const bool vbr = i % 2 != 0;
            const QString path = subfolder + QStringLiteral("/%1 %2.mp3").arg(i, 5, 10, QLatin1Char('0')).arg(vbr ? "vbr" : "cbr");
            writeFile(path, tagFor(i, set.pictureBytes) + (vbr ? variable : constant) + id3v1For(i));
            list.append(path);
        }
    }
    return corpus;
}

QStringList copyFiles(const QStringList& files, const QString& folder)
{
    QDir().mkpath(folder);
    QStringList copies;
    for (const QString& file : files) {
        const QString copy = folder + QLatin1Char('/') + QFileInfo(file).fileName();
        QFile::remove(copy);
        if (!QFile::copy(file, copy))
            throw std::runtime_error("Cannot copy " + file.toStdString());
        copies.append(copy);
    }
    return copies;
}

void warmPageCache(const QStringList& files)
{
    for (const QString& path : files) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            file.readAll();
    }
}

// Asking the system to let go of a file's pages needs no privilege, unlike dropping the whole
// page cache. Pages not yet written to the disk are kept: they are written first.
bool dropFromPageCache(const QStringList& files)
{
    bool dropped = true;
    for (const QString& path : files) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        dropped = fd >= 0 && ::fdatasync(fd) == 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0 && dropped;
        if (fd >= 0)
            ::close(fd);
    }
    return dropped;
}

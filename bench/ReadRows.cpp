#include "Corpus.h"
#include "Measure.h"
#include "Rows.h"

#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <unistd.h>
#include <vector>

namespace {

qint64 syncsafe(const unsigned char* b)
{
    return qint64(b[0] & 0x7F) << 21 | qint64(b[1] & 0x7F) << 14 | qint64(b[2] & 0x7F) << 7 | qint64(b[3] & 0x7F);
}

// The byte ranges the reader cannot do without, in as many reads: the tag header, the first 4 KB
// of the tag (where its texts are), the window the VBR search and the header scan share, and the
// ID3v1 block. Nothing is parsed.
qint64 readNeededRanges(const QByteArray& path, std::vector<unsigned char>& buffer)
{
    constexpr qint64 TagStart = 4096;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat info {};
    ::fstat(fd, &info);
    qint64 total = ::pread(fd, buffer.data(), 10, 0);
    const qint64 tagSize = syncsafe(buffer.data() + 6);
    total += ::pread(fd, buffer.data(), size_t(std::min(tagSize, TagStart)), 10);
    total += ::pread(fd, buffer.data(), size_t(VbrWindowRead), tagSize + 10);
    total += ::pread(fd, buffer.data(), 128, info.st_size - 128);
    ::close(fd);
    return total;
}

}  // namespace

void keep(qint64 value)
{
    static volatile qint64 sink = 0;
    sink = sink + value;
}

void addReadRows(ResultTable& table, const QStringList& files, int repeats, bool cold)
{
    std::vector<QByteArray> localNames;
    for (const QString& file : files)
        localNames.push_back(QFile::encodeName(file));
    const int count = int(files.size());

    std::vector<unsigned char> buffer(VbrWindowRead);
    const auto runs = timeRunsInTurn(repeats, {
        [&] {
            for (const QByteArray& name : localNames)
                keep(readNeededRanges(name, buffer));
        },
        [&] {
            for (const QString& file : files) {
                TMpegFile mpeg;
                mpeg.ReadFromFile(file);
                keep(mpeg.Duration + mpeg.ID3v2.Title.size());
            }
        },
        [&] {
            for (const QByteArray& name : localNames) {
                TagLib::MPEG::File mpeg(name.constData());
                keep(mpeg.audioProperties()->lengthInSeconds() + qint64(mpeg.tag()->title().size()));
            }
        },
    }, cold ? std::function<void()>([&files] { dropFromPageCache(files); }) : std::function<void()>());
    table.row(QStringLiteral("1 lower bound: open, 4 reads of the needed ranges"), runs[0], count, QStringLiteral("file"));
    table.row(QStringLiteral("2 TMpegFile::ReadFromFile"), runs[1], count, QStringLiteral("file"));
    table.row(QStringLiteral("3 TagLib::MPEG::File, tags and audio properties"), runs[2], count, QStringLiteral("file"));
}

void addMemoryRows(ResultTable& table, const QStringList& files, int count)
{
    const bool peakReset = resetPeakResident();
    const qint64 before = residentBytes();
    std::vector<std::unique_ptr<TMpegFile>> open;
    open.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        auto mpeg = std::make_unique<TMpegFile>();
        mpeg->ReadFromFile(files[i % files.size()]);
        open.push_back(std::move(mpeg));
    }
    const qint64 held = residentBytes() - before;
    const qint64 peak = peakResidentBytes() - before;
    const auto megabytes = [](qint64 bytes) { return QString::number(double(bytes) / (1 << 20), 'f', 1) + QStringLiteral(" MB"); };
    table.note(QStringLiteral("%1 files with a 100 KB picture held open (TMpegFile records, as the file list keeps them;").arg(count));
    table.note(QStringLiteral("the %1 files of the corpus read in turn), target less than 50 MB:").arg(files.size()));
    table.note(QStringLiteral("  resident memory added %1, %2 per file").arg(megabytes(held)).arg(QString::number(double(held) / count / 1024, 'f', 1) + QStringLiteral(" KB")));
    table.note(peakReset ? QStringLiteral("  peak resident memory added %1").arg(megabytes(peak))
                         : QStringLiteral("  (the kernel refused to reset the peak; no peak figure)"));
}

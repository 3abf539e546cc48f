#include "Measure.h"
#include "Rows.h"
#include "Corpus.h"

#include "FileReplacement.h"
#include "UnitID3Tag.h"

#include <QFile>
#include <fcntl.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <unistd.h>

namespace {

// Each run saves a title the file does not have yet, of the same length, so the tag stays in place.
QString titleForRun(int run)
{
    return run % 2 == 0 ? QStringLiteral("Saved title A") : QStringLiteral("Saved title B");
}

// The program flushes every save to the disk; TagLib leaves that to the system. This one skips
// the flush so the two can also be compared doing the same work.
class NoFlushOperations : public FileOperations {
public:
    bool flush(int) override { return true; }
};

void saveWithCorvane(const QStringList& files, const QString& title)
{
    for (const QString& file : files) {
        TID3v2 tag;
        ReadID3v2(file, tag);
        tag.Title = title;
        keep(WriteID3v2(tag, file));
    }
}

void saveWithTagLib(const QStringList& files, const QString& title, bool flush)
{
    const TagLib::String text(title.toStdString(), TagLib::String::UTF8);
    for (const QString& file : files) {
        const QByteArray name = QFile::encodeName(file);
        TagLib::MPEG::File mpeg(name.constData(), false);
        mpeg.ID3v2Tag(true)->setTitle(text);
        keep(mpeg.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3, TagLib::File::DoNotDuplicate));
        if (flush) {
            const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
            keep(::fsync(fd));
            ::close(fd);
        }
    }
}

// Whether every file now carries the title of the last run, read back by the program's reader.
bool allSaved(const QStringList& files, const QString& title)
{
    for (const QString& file : files) {
        TID3v2 tag;
        ReadID3v2(file, tag);
        if (tag.Title != title)
            return false;
    }
    return true;
}

}  // namespace

void addSaveRows(ResultTable& table, const QStringList& files, const QString& folder, int repeats)
{
    using Save = std::function<void(const QStringList&, const QString&)>;
    NoFlushOperations noFlush;
    const std::vector<std::pair<QString, Save>> saves = {
        {QStringLiteral("4a TagLib MPEG::File::save, no flush"),
         [](const QStringList& copies, const QString& title) { saveWithTagLib(copies, title, false); }},
        {QStringLiteral("4b WriteID3v2, flush skipped (same work as 4a)"),
         [&](const QStringList& copies, const QString& title) {
             setFileOperations(&noFlush);
             saveWithCorvane(copies, title);
             setFileOperations(nullptr);
         }},
        {QStringLiteral("4c TagLib MPEG::File::save, then fsync"),
         [](const QStringList& copies, const QString& title) { saveWithTagLib(copies, title, true); }},
        {QStringLiteral("4d WriteID3v2 as the program saves (fsync)"),
         [](const QStringList& copies, const QString& title) { saveWithCorvane(copies, title); }},
    };

    // Every row saves into copies of its own; each round saves one new title with every row.
    std::vector<QStringList> copies;
    std::vector<std::function<void()>> works;
    int round = 0;
    for (size_t i = 0; i < saves.size(); ++i) {
        copies.push_back(copyFiles(files, folder + QStringLiteral("/%1").arg(i)));
        works.push_back([&, i] {
            saves[i].second(copies[i], titleForRun(round));
            if (i + 1 == saves.size())
                ++round;
        });
    }
    const auto runs = timeRunsInTurn(repeats, works);
    for (size_t i = 0; i < saves.size(); ++i) {
        table.row(saves[i].first, runs[i], int(files.size()), QStringLiteral("file"));
        if (!allSaved(copies[i], titleForRun(round - 1)))
            table.note(QStringLiteral("  !! some files of this row do not carry the saved title"));
    }
}

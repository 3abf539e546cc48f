#include "UnitUtilities.h"
#include "UserInterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One listing: the mask and list of the ListFiles call, and the folders already scanned, so a
// folder reached again through a symbolic link is not scanned twice (a link loop would never end).
struct Listing {
    QStringList nameFilters;
    QStringList& list;
    QSet<QString> scannedFolders;
    qsizetype unnamable = 0;   // matching files whose names a path of the program cannot hold
};

// A name that is not valid UTF-8 (an old archive's Latin-1 "Caf\xe9.mp3") does not survive its
// way into a path and back, so the file cannot be opened by it.
qsizetype countUnnamableFiles(const QString& folder, const QStringList& nameFilters)
{
    DIR* entries = ::opendir(QFile::encodeName(folder).constData());
    if (!entries)
        return 0;
    QList<QRegularExpression> masks;
    for (const QString& filter : nameFilters)
        masks.append(QRegularExpression::fromWildcard(filter, Qt::CaseInsensitive));
    qsizetype count = 0;
    while (const dirent* entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        if (QFile::encodeName(QFile::decodeName(name)) == name)
            continue;
        const QString readable = QString::fromLatin1(name);
        const auto matches = [&readable](const QRegularExpression& mask) { return mask.match(readable).hasMatch(); };
        struct stat status {};
        if (std::any_of(masks.begin(), masks.end(), matches)
            && ::fstatat(::dirfd(entries), entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode))
            ++count;
    }
    ::closedir(entries);
    return count;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Regular files only (hidden ones included): a pipe or device named like an audio file would
// block or mislead the readers. The mask ignores letter case, as extensions do.
void AddMatchingFiles(const QString& folder, Listing& listing)
{
    const QStringList names = QDir(folder).entryList(listing.nameFilters, QDir::Files | QDir::Hidden, QDir::Unsorted);
    for (const QString& name : names)
        listing.list.append(folder + name);
    listing.unnamable += countUnnamableFiles(folder, listing.nameFilters);
}

// Depth first, pre-order: each subfolder's files, then its own subfolders. Hidden folders (a
// name starting with ".") are not entered.
void ScanSubfolders(const QString& folder, Listing& listing)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || listing.scannedFolders.contains(canonical))
        return;
    listing.scannedFolders.insert(canonical);

    const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& name : names) {
        const QString subfolder = folder + name + QLatin1Char('/');
        if (listing.scannedFolders.contains(QFileInfo(subfolder).canonicalFilePath()))
            continue;
        AddMatchingFiles(subfolder, listing);
        ScanSubfolders(subfolder, listing);
    }
}

}  // namespace

void ListFiles(const QString& folder, const QString& mask, QStringList& list, bool recursive)
{
    list.clear();
    if (folder.isEmpty())
        return;
    Listing listing{{mask}, list, {}, 0};
    const QString start = withSlash(folder);
    AddMatchingFiles(start, listing);
    if (recursive)
        ScanSubfolders(start, listing);
    // Once for the whole listing, however many files and subfolders it left out.
    if (listing.unnamable > 0)
        ui::showMessage(QStringLiteral("%1 file(s) in '%2' were left out: their names are not valid UTF-8.")
                            .arg(listing.unnamable)
                            .arg(folder),
                        ui::Icon::Warning);
}

bool GetFileDate(const QString& fileName, TFileDate& date)
{
    struct stat status {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        date = -1;
        return false;
    }
    date = static_cast<qint64>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return true;
}

// The file is opened for writing first, as a change of its date is a change of the file: a file
// the user may not write keeps its date.
bool SetFileDate(const QString& fileName, TFileDate date)
{
    if (date < 0)
        return false;
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const timespec times[2] = {
        {0, UTIME_OMIT},
        {static_cast<time_t>(date / 1'000'000'000), static_cast<long>(date % 1'000'000'000)},
    };
    const bool set = ::futimens(fd, times) == 0;
    return ::close(fd) == 0 && set;
}

#pragma once

// Renaming files by format: the new name built from a file's tag, the rename that never
// replaces another file, and the batch that renames the selected files.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class TMpegFile;

// The tag values a new name is built from, as read from one tag version.
struct RenameFields {
    QString artist;
    QString album;
    QString title;
    QString track;
};

// The settings the renamer reads.
struct RenameSettings {
    QString renameFormat = QStringLiteral("rdTrackArtistTitle");   // a preset name or "rdOther"
    QString renameFormatUser;        // the format of "rdOther"
    QString renameCase = QStringLiteral("0");
    QString dictionaryWords;         // the words joined by ";"
    QString invalidChar = QStringLiteral("-");
    bool replaceSpace = false;
};

enum class RenameTagVersion { ID3v1, ID3v2 };

// The values of one tag version; none when the file lacks that tag.
std::optional<RenameFields> renameFieldsFromID3v1(const TMpegFile& file);
std::optional<RenameFields> renameFieldsFromID3v2(const TMpegFile& file);

// The new name without folder and extension; empty leaves the file as it is. A non-empty
// format is a user format taken as it stands; an empty one means the settings' choice.
QString buildRenameName(const QString& format, RenameFields fields, const QString& bitrate,
                        const QStringList& dictionaryWords, const RenameSettings& settings);

// The built name followed by the old file's extension with its dot, as it was written.
QString renamedFileName(const QString& oldPath, const QString& name);

// Renames a file inside its folder without ever replacing another file. Renaming a file to its
// own name succeeds. Names holding "/" or a zero character, "." and "..", are refused.
bool renameInFolder(const QString& folder, const QString& oldName, const QString& newName);

// Renames the file by the format (empty = the settings' choice) from the given tag version; its
// FileName takes the new path. A file without that tag is left alone; a failed rename is
// reported, last: the box lets events through, and those may free the file.
void renameFile(TMpegFile& file, RenameTagVersion version, const QString& format, const RenameSettings& settings);

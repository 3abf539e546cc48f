// The settings: read once at start-up, each missing value written with its default first; the
// window's own values written back at close.

#include "UnitMain.h"

#include "ProgramFolder.h"
#include "Registry.h"
#include "SettingsWriter.h"

#include <QCheckBox>
#include <QTreeView>
#include <stdexcept>

namespace {

// Reads values with their types. A value that is missing, or stored with another type, is first
// written with its default, so the settings file always holds every value the program knows.
class SettingsReader {
public:
    explicit SettingsReader(Registry& settingsKey) : key(settingsKey) {}

    bool boolean(const QString& name, bool fallback)
    {
        if (!key.readBool(name))
            key.writeBool(name, fallback);
        return key.readBool(name).value_or(fallback);
    }

    qint32 integer(const QString& name, qint32 fallback)
    {
        if (!key.readInteger(name))
            key.writeInteger(name, fallback);
        return key.readInteger(name).value_or(fallback);
    }

    QString text(const QString& name, const QString& fallback)
    {
        if (!key.readString(name))
            key.writeString(name, fallback);
        return key.readString(name).value_or(fallback);
    }

private:
    Registry& key;
};

}  // namespace

void TFormMain::ReadSettings()
{
    Registry key;
    if (!key.isOpen())
        return;
    SettingsReader read(key);

    OptionRememberSize = read.boolean(QStringLiteral("Option Remember Size"), true);
    OptionRememberPosition = read.boolean(QStringLiteral("Option Remember Position"), false);
    OptionRememberColsWidth = read.boolean(QStringLiteral("Option Remember Cols Width"), false);
    OptionSortAfterOpen = read.boolean(QStringLiteral("Option Sort After Open"), false);
    OptionSelectNextRow = read.boolean(QStringLiteral("Option Select Next Row"), true);
    OptionFocusGrid = read.boolean(QStringLiteral("Option Focus Grid"), true);
    OptionAddTotalTracks = read.boolean(QStringLiteral("Option Add Total Tracks"), true);
    OptionLeadingZero = read.boolean(QStringLiteral("Option Leading Zero"), true);
    OptionConvertV22 = read.boolean(QStringLiteral("Option Convert V22"), true);
    OptionExplorerFull = read.boolean(QStringLiteral("Option Explorer Full"), false);
    OptionKeepTimestamp = read.boolean(QStringLiteral("Option Keep Timestamp"), false);
    OptionLoadFilesStartup = read.boolean(QStringLiteral("Option Load Files Startup"), true);
    OptionRecurseFolder = read.boolean(QStringLiteral("Option Recurse Folder"), true);
    FormFullscreen = read.boolean(QStringLiteral("Form Fullscreen"), false);
    FormPosX = read.integer(QStringLiteral("Form Pos X"), geometry().x());
    FormPosY = read.integer(QStringLiteral("Form Pos Y"), geometry().y());
    FormWidth = read.integer(QStringLiteral("Form Width"), DesignedWidth);
    FormHeight = read.integer(QStringLiteral("Form Height"), DesignedHeight);
    ColsWidth = read.text(QStringLiteral("Cols Width"), QString());
    PanelTopLeftWidth = read.integer(QStringLiteral("Panel Top Left Width"), DesignedPanelTopLeftWidth);
    RenameCase = read.text(QStringLiteral("Rename Case"), QStringLiteral("0"));
    RenameFormat = read.text(QStringLiteral("Rename Format"), QStringLiteral("rdTrackArtistTitle"));
    RenameFormatUser = read.text(QStringLiteral("Rename Format User"), QStringLiteral("rdArtistTitle"));
    RenameReplaceSpace = read.boolean(QStringLiteral("Rename Replace Space"), false);
    RecurseFolderExplorer = read.boolean(QStringLiteral("Recurse Folder Explorer"), false);
    RenameFormat1 = read.text(QStringLiteral("Rename Format 1"), QString());
    RenameFormat2 = read.text(QStringLiteral("Rename Format 2"), QString());
    RenameFormat3 = read.text(QStringLiteral("Rename Format 3"), QString());
    RenameFormat4 = read.text(QStringLiteral("Rename Format 4"), QString());
    RenameFormat5 = read.text(QStringLiteral("Rename Format 5"), QString());
    RenameFormat6 = read.text(QStringLiteral("Rename Format 6"), QString());
    RenameFormat7 = read.text(QStringLiteral("Rename Format 7"), QString());
    RenameFormat8 = read.text(QStringLiteral("Rename Format 8"), QString());
    RenameFormat9 = read.text(QStringLiteral("Rename Format 9"), QString());
    RenameFormat10 = read.text(QStringLiteral("Rename Format 10"), QString());
    RenameFormats.clear();
    for (const QString& format : {RenameFormat1, RenameFormat2, RenameFormat3, RenameFormat4, RenameFormat5,
                                  RenameFormat6, RenameFormat7, RenameFormat8, RenameFormat9, RenameFormat10}) {
        if (!format.isEmpty())
            RenameFormats.append(format);
    }
    OptionGuessTag = read.boolean(QStringLiteral("Option Guess Tag"), true);
    OptionInvalidChar = read.text(QStringLiteral("Option Invalid Char"), QStringLiteral("-"));
    GuessFormat = read.text(QStringLiteral("Guess Format"), QStringLiteral("#ARTIST# - #TITLE#"));
    GuessFormat1 = read.text(QStringLiteral("Guess Format1"), GuessFormat);
    GuessFormat2 = read.text(QStringLiteral("Guess Format2"), QString());
    GuessFormat3 = read.text(QStringLiteral("Guess Format3"), QString());
    GuessFormat4 = read.text(QStringLiteral("Guess Format4"), QString());
    GuessFormat5 = read.text(QStringLiteral("Guess Format5"), QString());
    OptionGeneratePlaylist = read.boolean(QStringLiteral("Option Generate Playlist"), true);
    OptionInvalidCharPlaylist = read.text(QStringLiteral("Option Invalid Char Playlist"), QStringLiteral("-"));
    PlaylistFormat = read.text(QStringLiteral("Playlist Format"), QStringLiteral("#ARTIST# - #ALBUM#"));
    PlaylistFormat1 = read.text(QStringLiteral("Playlist Format1"), PlaylistFormat);
    PlaylistFormat2 = read.text(QStringLiteral("Playlist Format2"), QString());
    PlaylistFormat3 = read.text(QStringLiteral("Playlist Format3"), QString());
    PlaylistFormat4 = read.text(QStringLiteral("Playlist Format4"), QString());
    PlaylistFormat5 = read.text(QStringLiteral("Playlist Format5"), QString());
    DefaultFolderOpen = read.text(QStringLiteral("Default Folder Open"), programFolder());
    DefaultFolderPlaylist = read.text(QStringLiteral("Default Folder Playlist"), programFolder());
    DefaultFolderEnc = read.text(QStringLiteral("Default Folder Enc"), programFolder());
    DefaultFolderDec = read.text(QStringLiteral("Default Folder Dec"), programFolder());
    FreedbServer = read.text(QStringLiteral("Freedb Server"), DefaultFreedbServer);
    FreedbPort = read.text(QStringLiteral("Freedb Port"), QStringLiteral("8880"));
    ExportFields = read.text(QStringLiteral("Export Fields"), QString());
    DictionaryWords = read.text(QStringLiteral("Dictionary Words"), QString());
    UseGridColors = read.boolean(QStringLiteral("Use Grid Colors"), false);
    ColorNoTag = read.integer(QStringLiteral("Color No Tag"), SystemWindowColor);
    ColorV1 = read.integer(QStringLiteral("Color V1"), SystemWindowColor);
    ColorV2 = read.integer(QStringLiteral("Color V2"), SystemWindowColor);
    ColorV1V2 = read.integer(QStringLiteral("Color V1 V2"), SystemWindowColor);
}

void TFormMain::WriteCloseSettings()
{
    std::vector<SettingValue> values = {{QStringLiteral("Option Recurse Folder"), OptionRecurseFolder}};
    if (isMaximized()) {
        values.push_back({QStringLiteral("Form Fullscreen"), true});
    } else {
        values.push_back({QStringLiteral("Form Fullscreen"), false});
        values.push_back({QStringLiteral("Form Width"), width()});
        values.push_back({QStringLiteral("Form Height"), height()});
    }
    values.push_back({QStringLiteral("Form Pos X"), x()});
    values.push_back({QStringLiteral("Form Pos Y"), y()});
    if (OptionRememberColsWidth) {
        QStringList widths;
        for (int column = 0; column < GridColumnCount; ++column)
            widths.append(QString::number(gridColumnWidth(column)));
        values.push_back({QStringLiteral("Cols Width"), widths.join(QLatin1Char(' '))});
    }
    values.push_back({QStringLiteral("Panel Top Left Width"), PanelTopLeft->width()});
    values.push_back({QStringLiteral("Recurse Folder Explorer"), chkSubfolders->isChecked()});
    RegistryWriter key;
    writeSettings(key, values);
}

void TFormMain::ApplyColsWidth()
{
    if (ColsWidth.isEmpty())
        return;
    const QStringList pieces = ColsWidth.split(QLatin1Char(' '));
    for (int column = 0; column < pieces.size() && column < GridColumnCount; ++column) {
        bool ok = false;
        const int width = pieces[column].toInt(&ok, 10);
        if (!ok)
            throw std::invalid_argument("'" + pieces[column].toStdString() + "' is not a valid integer value");
        setGridColumnWidth(column, std::max(0, width));
    }
}

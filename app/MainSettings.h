#pragma once

// The settings: one field per settings value, named after it. The main window holds them and
// the options dialog loads from and stores into them.

#include <QString>
#include <QStringList>

// The public CDDB service, the default of "Freedb Server".
inline const QString DefaultFreedbServer = QStringLiteral("gnudb.gnudb.org");

// The grid colour setting that stands for the system window colour, the default of the four.
constexpr qint32 SystemWindowColor = static_cast<qint32>(0xFF000005u);

struct TMainSettings {
    bool OptionRememberSize = false;
    bool OptionRememberPosition = false;
    bool OptionRememberColsWidth = false;
    bool OptionSortAfterOpen = false;
    bool OptionSelectNextRow = false;
    bool OptionFocusGrid = false;
    bool OptionLeadingZero = false;
    bool OptionAddTotalTracks = false;
    bool OptionConvertV22 = false;
    bool OptionExplorerFull = false;
    bool OptionKeepTimestamp = false;
    bool OptionLoadFilesStartup = false;
    bool OptionGuessTag = false;
    bool OptionRecurseFolder = false;
    QString OptionInvalidChar;
    QString GuessFormat;
    QString GuessFormat1;
    QString GuessFormat2;
    QString GuessFormat3;
    QString GuessFormat4;
    QString GuessFormat5;
    bool OptionGeneratePlaylist = false;
    QString OptionInvalidCharPlaylist;
    QString PlaylistFormat;
    QString PlaylistFormat1;
    QString PlaylistFormat2;
    QString PlaylistFormat3;
    QString PlaylistFormat4;
    QString PlaylistFormat5;
    bool FormFullscreen = false;
    qint32 FormPosX = 0;
    qint32 FormPosY = 0;
    qint32 FormWidth = 0;
    qint32 FormHeight = 0;
    qint32 PanelTopLeftWidth = 0;
    QString ColsWidth;
    QString RenameCase;
    QString RenameFormat;
    QString RenameFormatUser;
    QStringList RenameFormats;   // the non-empty RenameFormat1..10, in order
    QString RenameFormat1;
    QString RenameFormat2;
    QString RenameFormat3;
    QString RenameFormat4;
    QString RenameFormat5;
    QString RenameFormat6;
    QString RenameFormat7;
    QString RenameFormat8;
    QString RenameFormat9;
    QString RenameFormat10;
    bool RecurseFolderExplorer = false;
    bool RenameReplaceSpace = false;
    QString DefaultFolderOpen;
    QString DefaultFolderPlaylist;
    QString DefaultFolderEnc;
    QString DefaultFolderDec;
    QString FreedbServer;
    QString FreedbPort;
    QString ExportFields;
    QString DictionaryWords;
    bool UseGridColors = false;
    qint32 ColorNoTag = 0;   // 0x00RRGGBB as picked (alpha ignored); or SystemWindowColor
    qint32 ColorV1 = 0;
    qint32 ColorV2 = 0;
    qint32 ColorV1V2 = 0;
};

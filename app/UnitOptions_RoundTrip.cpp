#include "UnitOptions.h"

#include "SettingsWriter.h"
#include "UnitRenamingFormats.h"
#include "UserInterface.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <array>

namespace {

void loadFormatCombo(QComboBox* combo, const QStringList& history, const QString& current)
{
    combo->clear();
    combo->addItems(history);
    combo->setCurrentIndex(-1);
    combo->setEditText(current);
}

QString invalidCharOf(const QLineEdit* edit)
{
    return edit->text().isEmpty() ? QStringLiteral("-") : edit->text();
}

// The five fields of one history, slot 1 first, take the updated history.
void storeHistory(const std::array<QString*, 5>& fields, const QString& text)
{
    QStringList history;
    for (const QString* slot : fields)
        history += *slot;
    const QStringList updated = updatedFormatHistory(history, text);
    for (int i = 0; i < 5; ++i)
        *fields[i] = updated[i];
}

}  // namespace

QStringList updatedFormatHistory(const QStringList& history, const QString& text)
{
    for (const QString& slot : history) {
        if (slot.compare(text, Qt::CaseInsensitive) == 0)
            return history;
    }
    QStringList updated = history;
    const qsizetype empty = updated.indexOf(QString());
    if (empty >= 0) {
        updated[empty] = text;
    } else {
        updated.removeLast();
        updated.prepend(text);
    }
    return updated;
}

QStringList splitDictionaryWords(const QString& words)
{
    QStringList list;
    QString rest = words;
    while (!rest.isEmpty()) {
        const qsizetype semicolon = rest.indexOf(QLatin1Char(';'));
        if (semicolon < 0) {
            list += rest;
            break;
        }
        list += rest.left(semicolon);
        rest = rest.mid(semicolon + 1);
    }
    return list;
}

QList<QRadioButton*> TFormOptions::formatButtons() const
{
    return {rdTrackArtistTitle, rdArtistTrackTitle, rdArtistAlbumTitle, rdArtistAlbumTrackTitle,
            rdArtistTitle, rdArtistTitleBitrate, rdOther};
}

int TFormOptions::caseItemIndex() const
{
    return rgCaseItems->checkedId();
}

void TFormOptions::setCaseItemIndex(int index)
{
    if (index < 0) {
        rgCaseItems->setExclusive(false);
        for (QAbstractButton* item : rgCaseItems->buttons())
            item->setChecked(false);
        rgCaseItems->setExclusive(true);
        return;
    }
    rgCaseItems->button(std::min(index, 4))->setChecked(true);
}

OptionsOutcome TFormOptions::Execute(TMainSettings& settings, SettingsWriter& writer,
                                     const std::function<void(bool)>& SetExplorerFull)
{
    if (!load(settings))
        return OptionsOutcome::Failed;
    executing = &settings;
    executingWriter = &writer;
    // Centred on the screen before it shows: placed while it shows, as QDialog places it, a dialog
    // shown before lands a title bar lower at each showing under some window managers.
    const QRect screen = (parentWidget() ? parentWidget()->window() : this)->screen()->availableGeometry();
    setGeometry(QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size(), screen));
    const int result = exec();
    executing = nullptr;
    executingWriter = nullptr;
    if (result != QDialog::Accepted)
        return OptionsOutcome::Cancelled;
    return storeAndWrite(settings, writer, SetExplorerFull) ? OptionsOutcome::Stored : OptionsOutcome::Failed;
}

bool TFormOptions::load(const TMainSettings& s)
{
    cbRememberSize->setChecked(s.OptionRememberSize);
    cbRememberPos->setChecked(s.OptionRememberPosition);
    cbRememberColsWidth->setChecked(s.OptionRememberColsWidth);
    cbSortAfterOpen->setChecked(s.OptionSortAfterOpen);
    cbSelectNextRow->setChecked(s.OptionSelectNextRow);
    cbFocusGrid->setChecked(s.OptionFocusGrid);
    cbAddTotalTracks->setChecked(s.OptionAddTotalTracks);
    cbLeadingZero->setChecked(s.OptionLeadingZero);
    cbConvertV22->setChecked(s.OptionConvertV22);
    cbExplorerFullLeft->setChecked(s.OptionExplorerFull);
    cbKeepTimestamp->setChecked(s.OptionKeepTimestamp);
    cbLoadFilesAtStartup->setChecked(s.OptionLoadFilesStartup);
    checkReplaceSpace->setChecked(s.RenameReplaceSpace);
    cbGuessTag->setChecked(s.OptionGuessTag);
    cbGeneratePlaylistName->setChecked(s.OptionGeneratePlaylist);
    cbUseGridColors->setChecked(s.UseGridColors);

    bool isNumber = false;
    const int renameCase = s.RenameCase.toInt(&isNumber);
    if (!isNumber) {
        ui::showMessage("'" + s.RenameCase + "' is not a valid integer value");
        return false;
    }
    setCaseItemIndex(renameCase);

    for (QRadioButton* format : formatButtons()) {
        if (format->objectName() == s.RenameFormat) {
            format->setChecked(true);
            break;
        }
    }

    cbOtherFormat->clear();
    cbOtherFormat->addItems(s.RenameFormats);
    cbOtherFormat->setCurrentIndex(-1);
    for (int i = 0; i < s.RenameFormats.size(); ++i) {
        if (s.RenameFormats[i].compare(s.RenameFormatUser, Qt::CaseInsensitive) == 0) {
            cbOtherFormat->setCurrentIndex(i);
            break;
        }
    }

    loadFormatCombo(cmbGuessFormat, {s.GuessFormat1, s.GuessFormat2, s.GuessFormat3, s.GuessFormat4, s.GuessFormat5},
                    s.GuessFormat);
    EditCharRepInvalid->setText(s.OptionInvalidChar);
    loadFormatCombo(cmbPlaylistFormat, {s.PlaylistFormat1, s.PlaylistFormat2, s.PlaylistFormat3, s.PlaylistFormat4,
                                        s.PlaylistFormat5},
                    s.PlaylistFormat);
    EditCharRepInvalidP->setText(s.OptionInvalidCharPlaylist);

    EditDirOpen->setText(s.DefaultFolderOpen);
    EditDirPlaylist->setText(s.DefaultFolderPlaylist);
    EditDirEncode->setText(s.DefaultFolderEnc);
    EditDirDecode->setText(s.DefaultFolderDec);
    EditPort->setText(s.FreedbPort);
    EditServer->setText(s.FreedbServer);

    listBoxWords->clear();
    listBoxWords->addItems(splitDictionaryWords(s.DictionaryWords));

    setSwatchColor(DBEdit1, s.ColorNoTag);
    setSwatchColor(DBEdit2, s.ColorV1);
    setSwatchColor(DBEdit3, s.ColorV2);
    setSwatchColor(DBEdit4, s.ColorV1V2);
    return true;
}

bool TFormOptions::storeAndWrite(TMainSettings& s, SettingsWriter& writer,
                                 const std::function<void(bool)>& SetExplorerFull)
{
    s.OptionRememberSize = cbRememberSize->isChecked();
    s.OptionRememberPosition = cbRememberPos->isChecked();
    s.OptionRememberColsWidth = cbRememberColsWidth->isChecked();
    s.OptionSortAfterOpen = cbSortAfterOpen->isChecked();
    s.OptionSelectNextRow = cbSelectNextRow->isChecked();
    s.OptionFocusGrid = cbFocusGrid->isChecked();
    s.OptionAddTotalTracks = cbAddTotalTracks->isChecked();
    s.OptionLeadingZero = cbLeadingZero->isChecked();
    s.OptionConvertV22 = cbConvertV22->isChecked();
    s.OptionGuessTag = cbGuessTag->isChecked();
    s.OptionGeneratePlaylist = cbGeneratePlaylistName->isChecked();
    if (cbExplorerFullLeft->isChecked() != s.OptionExplorerFull)
        SetExplorerFull(cbExplorerFullLeft->isChecked());
    s.OptionExplorerFull = cbExplorerFullLeft->isChecked();
    s.OptionKeepTimestamp = cbKeepTimestamp->isChecked();
    s.OptionLoadFilesStartup = cbLoadFilesAtStartup->isChecked();

    s.RenameCase = QString::number(caseItemIndex());
    for (const QRadioButton* format : formatButtons()) {
        if (format->isChecked()) {
            s.RenameFormat = format->objectName();
            break;
        }
    }
    s.RenameFormatUser = cbOtherFormat->currentText();
    s.RenameReplaceSpace = checkReplaceSpace->isChecked();

    s.GuessFormat = cmbGuessFormat->currentText();
    storeHistory({&s.GuessFormat1, &s.GuessFormat2, &s.GuessFormat3, &s.GuessFormat4, &s.GuessFormat5}, s.GuessFormat);
    s.OptionInvalidChar = invalidCharOf(EditCharRepInvalid);
    s.PlaylistFormat = cmbPlaylistFormat->currentText();
    storeHistory({&s.PlaylistFormat1, &s.PlaylistFormat2, &s.PlaylistFormat3, &s.PlaylistFormat4, &s.PlaylistFormat5},
                 s.PlaylistFormat);
    s.OptionInvalidCharPlaylist = invalidCharOf(EditCharRepInvalidP);

    s.DefaultFolderOpen = EditDirOpen->text();
    s.DefaultFolderPlaylist = EditDirPlaylist->text();
    s.DefaultFolderEnc = EditDirEncode->text();
    s.DefaultFolderDec = EditDirDecode->text();
    s.FreedbPort = EditPort->text();
    s.FreedbServer = EditServer->text();

    QStringList words;
    for (int i = 0; i < listBoxWords->count(); ++i)
        words += listBoxWords->item(i)->text();
    s.DictionaryWords = words.join(QLatin1Char(';'));

    s.UseGridColors = cbUseGridColors->isChecked();
    s.ColorNoTag = swatchColor(DBEdit1);
    s.ColorV1 = swatchColor(DBEdit2);
    s.ColorV2 = swatchColor(DBEdit3);
    s.ColorV1V2 = swatchColor(DBEdit4);

    return writeSettings(writer, {
        {QStringLiteral("Option Remember Size"), s.OptionRememberSize},
        {QStringLiteral("Option Remember Position"), s.OptionRememberPosition},
        {QStringLiteral("Option Remember Cols Width"), s.OptionRememberColsWidth},
        {QStringLiteral("Option Sort After Open"), s.OptionSortAfterOpen},
        {QStringLiteral("Option Select Next Row"), s.OptionSelectNextRow},
        {QStringLiteral("Option Focus Grid"), s.OptionFocusGrid},
        {QStringLiteral("Option Add Total Tracks"), s.OptionAddTotalTracks},
        {QStringLiteral("Option Leading Zero"), s.OptionLeadingZero},
        {QStringLiteral("Option Convert V22"), s.OptionConvertV22},
        {QStringLiteral("Option Explorer Full"), s.OptionExplorerFull},
        {QStringLiteral("Option Keep Timestamp"), s.OptionKeepTimestamp},
        {QStringLiteral("Option Load Files Startup"), s.OptionLoadFilesStartup},
        {QStringLiteral("Option Guess Tag"), s.OptionGuessTag},
        {QStringLiteral("Rename Case"), s.RenameCase},
        {QStringLiteral("Rename Format"), s.RenameFormat},
        {QStringLiteral("Rename Format User"), s.RenameFormatUser},
        {QStringLiteral("Rename Replace Space"), s.RenameReplaceSpace},
        {QStringLiteral("Guess Format"), s.GuessFormat},
        {QStringLiteral("Guess Format1"), s.GuessFormat1},
        {QStringLiteral("Guess Format2"), s.GuessFormat2},
        {QStringLiteral("Guess Format3"), s.GuessFormat3},
        {QStringLiteral("Guess Format4"), s.GuessFormat4},
        {QStringLiteral("Guess Format5"), s.GuessFormat5},
        {QStringLiteral("Option Invalid Char"), s.OptionInvalidChar},
        {QStringLiteral("Option Generate Playlist"), s.OptionGeneratePlaylist},
        {QStringLiteral("Playlist Format"), s.PlaylistFormat},
        {QStringLiteral("Playlist Format1"), s.PlaylistFormat1},
        {QStringLiteral("Playlist Format2"), s.PlaylistFormat2},
        {QStringLiteral("Playlist Format3"), s.PlaylistFormat3},
        {QStringLiteral("Playlist Format4"), s.PlaylistFormat4},
        {QStringLiteral("Playlist Format5"), s.PlaylistFormat5},
        {QStringLiteral("Option Invalid Char Playlist"), s.OptionInvalidCharPlaylist},
        {QStringLiteral("Default Folder Open"), s.DefaultFolderOpen},
        {QStringLiteral("Default Folder Playlist"), s.DefaultFolderPlaylist},
        {QStringLiteral("Default Folder Enc"), s.DefaultFolderEnc},
        {QStringLiteral("Default Folder Dec"), s.DefaultFolderDec},
        {QStringLiteral("Freedb Server"), s.FreedbServer},
        {QStringLiteral("Freedb Port"), s.FreedbPort},
        {QStringLiteral("Dictionary Words"), s.DictionaryWords},
        {QStringLiteral("Use Grid Colors"), s.UseGridColors},
        {QStringLiteral("Color No Tag"), s.ColorNoTag},
        {QStringLiteral("Color V1"), s.ColorV1},
        {QStringLiteral("Color V2"), s.ColorV2},
        {QStringLiteral("Color V1 V2"), s.ColorV1V2},
    });
}

void TFormOptions::btnEditformatsClick()
{
    if (!executing || !FormRenamingFormats)
        return;
    QListWidget* list = FormRenamingFormats->ListBoxFormats;
    list->clear();
    list->addItems(executing->RenameFormats);
    if (FormRenamingFormats->exec() != QDialog::Accepted)
        return;

    TMainSettings& s = *executing;
    s.RenameFormats.clear();
    for (int i = 0; i < list->count(); ++i)
        s.RenameFormats += list->item(i)->text();
    cbOtherFormat->clear();
    cbOtherFormat->addItems(s.RenameFormats);
    cbOtherFormat->setCurrentIndex(-1);

    const std::array<QString*, TFormRenamingFormats::MaxFormats> fields = {
        &s.RenameFormat1, &s.RenameFormat2, &s.RenameFormat3, &s.RenameFormat4, &s.RenameFormat5,
        &s.RenameFormat6, &s.RenameFormat7, &s.RenameFormat8, &s.RenameFormat9, &s.RenameFormat10};
    std::vector<SettingValue> values;
    for (int k = 0; k < TFormRenamingFormats::MaxFormats; ++k) {
        *fields[k] = s.RenameFormats.value(k);
        values.push_back({QStringLiteral("Rename Format %1").arg(k + 1), *fields[k]});
    }
    writeSettings(*executingWriter, values);
}

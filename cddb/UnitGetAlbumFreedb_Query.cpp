#include "UnitChooseAlbum.h"
#include "UnitGetAlbumFreedb.h"

#include "TagFieldTexts.h"
#include "UnitID3Tag.h"
#include "UserInterface.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString WebDomain = QStringLiteral("gnudb.org");

}  // namespace

void TFormFreedb::btnQueryClick()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ResetForm();
    btnQuery->setEnabled(false);
    btnWriteTags->setEnabled(false);
    btnClose->setEnabled(false);

    QString failure;
    try {
        LookUp();
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    }

    QGuiApplication::restoreOverrideCursor();
    if (RowCount() > 1 && !Cell(2, 1).isEmpty()) {
        editArtist->setEnabled(true);
        editAlbum->setEnabled(true);
        editYear->setEnabled(true);
        editGenre->setEnabled(true);
    }
    btnQuery->setEnabled(true);
    btnClose->setEnabled(true);
    if (!failure.isEmpty())
        ui::showMessage(failure);
}

void TFormFreedb::LookUp()
{
    QString category;
    QString discId;
    bool manual = false;

    QList<qint32> lengths;
    for (const TMpegFile& file : FHost.Files)
        lengths << file.Duration;
    const QStringList matches = Freedb->QueryAlbums(TFreedb::BuildQuery(lengths));

    if (matches.size() == 1) {
        category = GetCategory(matches.first());
        discId = GetDiscId(matches.first());
    } else if (matches.isEmpty()) {
        const QString question = QStringLiteral("Album not found.\nDo you want to specify the disc id yourself?\n"
                                                "Search for album ID on ")
            + WebDomain;
        if (ui::askYesNo(question)) {
            manual = true;
            const auto typed = ui::userInterface().inputText(QStringLiteral("Get disc ID: ") + WebDomain,
                                                              QStringLiteral("Enter the disc id"), QString());
            discId = trimmedText(typed.value_or(QString()));
        }
    } else {
        const QString line = ChooseMatch(matches);
        category = GetCategory(line);
        discId = GetDiscId(line);
    }

    if (discId.isEmpty())
        return;
    if (discId.size() != 8) {
        ui::showMessage(QStringLiteral("Invalid disc ID. It must be made of 8 consecutive characters.\n"
                                       "Disc IDs can be found using the search engine of ")
                        + WebDomain + QStringLiteral(",\nat the top of each album page."));
        return;
    }

    const QStringList entry = Freedb->ReadAlbum(category, discId);
    if (entry.size() < 5) {
        if (manual)
            ui::showMessage(QStringLiteral("The specified disc ID does not exist."));
        btnWriteTags->setEnabled(false);
        return;
    }
    ShowAlbum(entry);
}

QString TFormFreedb::ChooseMatch(const QStringList& Matches)
{
    QGuiApplication::restoreOverrideCursor();
    TFormChooseAlbum chooser(this);
    chooser.ListBoxAlbums->addItems(Matches);
    chooser.ListBoxAlbums->setCurrentRow(0);
    chooser.exec();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QListWidgetItem* selected = chooser.ListBoxAlbums->currentItem();
    return selected ? selected->text() : QString();
}

void TFormFreedb::ShowAlbum(const QStringList& Entry)
{
    editArtist->setText(Entry.at(0));
    editAlbum->setText(Entry.at(1));
    editGenre->setText(Entry.at(2));
    editYear->setText(Entry.at(3));

    // The first tracks, one per opened file, start checked.
    const int files = static_cast<int>(FHost.Files.size());
    sgTracks->clearContents();
    sgTracks->setRowCount(0);
    for (qsizetype k = 4; k < Entry.size(); ++k) {
        const int row = static_cast<int>(k - 3);
        sgTracks->setRowCount(row);
        SetCell(0, row, row <= files ? QStringLiteral("1") : QStringLiteral("0"));
        SetCell(1, row, QString::number(row));
        SetCell(2, row, Entry.at(k));
    }
    btnWriteTags->setEnabled(true);
}

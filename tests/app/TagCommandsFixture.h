#pragma once

// A real main window with audio files of the test's own open in its grid, for the tag commands.

#include "ScriptedUserInterface.h"
#include "SettingsHome.h"
#include "TestAudio.h"
#include "UnitMain.h"
#include "UnitProgressForm.h"
#include "UnitUtilities.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

class TagCommandsTest : public ::testing::Test {
protected:
    TagCommandsTest() { setDelayScale(0.01); }
    ~TagCommandsTest() override { setDelayScale(1); }

    // Writes the files, opens them in the grid in this order and returns their paths.
    QStringList open(const QList<QPair<QByteArray, QByteArray>>& tags)
    {
        QStringList paths;
        for (const auto& [id3v2, id3v1] : tags)
            paths.append(writeAudio(dir, QStringLiteral("%1.mp3").arg(paths.size() + 1, 3, 10, QLatin1Char('0')),
                                    id3v2, id3v1));
        form.OpenFiles(paths, false);
        return paths;
    }

    void selectRows(const QList<int>& rows)
    {
        QItemSelectionModel* selection = form.vtgrid->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(form.vtgridModel->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(form.vtgridModel->index(rows.first(), 0), QItemSelectionModel::NoUpdate);
    }

    void showPage(QWidget* page) { form.PageControlTag->setCurrentWidget(page); }

    // Presses Cancel at the first moment the batch lets messages through: the wait after its first file.
    static void cancelAtFirstWait()
    {
        QTimer::singleShot(0, [] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* progress = qobject_cast<TFormProgress*>(window); progress && progress->isVisible())
                    progress->btnCancel->click();
            }
        });
    }

    // The progress window's message at the first moment the batch lets messages through.
    void recordMessageAtFirstWait()
    {
        QTimer::singleShot(0, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* progress = qobject_cast<TFormProgress*>(window); progress && progress->isVisible())
                    progressMessage = progress->lbMsg->text();
            }
        });
    }

    static TMpegFile reread(const QString& path)
    {
        TMpegFile file;
        file.ReadFromFile(path);
        return file;
    }

    static QByteArray lastBlock(const QString& path) { return readAll(path).right(128); }

    QString progressMessage;
    SettingsHome home;
    ScriptedUserInterface script;
    TempDir dir;
    TFormMain form;
};

inline QByteArray v1(const QByteArray& title, const QByteArray& artist = "artist", int track = 0, quint8 genre = 255,
                     const QByteArray& comment = "comment")
{
    fixtures::ID3v1Fields fields;
    fields.title = title;
    fields.artist = artist;
    fields.album = "album";
    fields.year = "1999";
    fields.comment = comment;
    fields.track = track;
    fields.genre = genre;
    return fixtures::id3v1Block(fields);
}

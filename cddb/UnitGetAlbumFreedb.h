#pragma once

// The album lookup dialog: looks the opened files up as one album on a CDDB server by their
// lengths, shows the album with one check box per track and writes the checked tracks into the
// files' tags.

#include "UnitFreedb.h"
#include "UnitID3Tag.h"

#include <QDialog>
#include <QPixmap>
#include <functional>
#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The batch progress window of the album write; the main window hands in its own.
class TFreedbProgress {
public:
    virtual ~TFreedbProgress() = default;
    virtual void SetupProgress(qint32 Position, qint32 Min, qint32 Max, qint32 Step, bool ShowCancel) = 0;
    virtual void ShowProgress() = 0;
    virtual void ShowMessage(const QString& Text) = 0;   // shown at once
    virtual void StepIt() = 0;
    virtual bool Cancelled() const = 0;
    virtual void CloseProgress() = 0;
};

// What the dialog takes from the main window.
struct TFreedbHost {
    QString FreedbServer;
    QString FreedbPort;
    bool OptionLeadingZero = false;
    bool OptionAddTotalTracks = false;
    // The opened files in list order, copied: the main window may replace its own list while the
    // dialog waits for the server.
    std::vector<TMpegFile> Files;
    std::function<std::unique_ptr<TFreedbProgress>()> NewProgress;
    std::function<void(const QString& FileName)> StopPlayerOf;        // when the player has that file
    std::function<void()> ReloadAllFiles;                             // every row read again, pages refreshed
};

class TFormFreedb : public QDialog {
    Q_OBJECT
public:
    TFormFreedb(TFreedbHost Host, QWidget* Owner = nullptr);
    ~TFormFreedb() override;

    // ---- components
    QGroupBox* gbAlbum;
    QLineEdit* editArtist;
    QLineEdit* editAlbum;
    QLineEdit* editYear;
    QLineEdit* editGenre;
    QTableWidget* sgTracks;
    QGroupBox* gbTags;
    QRadioButton* rdV1;
    QRadioButton* rdV2;
    QRadioButton* rdBoth;
    QLabel* Image1;
    QGroupBox* GroupBox1;
    QPushButton* btnQuery;
    QPushButton* btnWriteTags;
    QPushButton* btnClose;

    // ---- fields
    QPixmap CheckedBitmap;
    QPixmap UncheckedBitmap;
    std::unique_ptr<TFreedb> Freedb;

    // ---- handlers
    void FormCreate();
    void FormShow();
    bool FormCloseQuery() const;
    void btnQueryClick();
    void btnWriteTagsClick();
    void btnCloseClick();
    // Row 0 is the header row; track r is row r.
    void sgTracksMouseUp(Qt::MouseButton Button, int Row, int Column);

    void ResetForm();
    static QString GetCategory(const QString& Line);
    static QString GetDiscId(const QString& Line);

    // The grid's rows as the handlers count them: the header row and the track rows.
    int RowCount() const;
    QString Cell(int Column, int Row) const;
    void SetCell(int Column, int Row, const QString& Text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void ShowAlbum(const QStringList& Entry);
    void LookUp();
    QString ChooseMatch(const QStringList& Matches);
    int CheckedCount() const;

    TFreedbHost FHost;
};

// The port of the setting: its value when it is digits only, else the default 8880.
qint32 FreedbPortOf(const QString& Setting);

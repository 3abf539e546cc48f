#pragma once

// The dialog that edits the user rename formats offered by the file grid's popup menu. The
// options dialog fills its list, shows it and takes the list back on OK.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TFormRenamingFormats : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxFormats = 10;

    explicit TFormRenamingFormats(QWidget* parent = nullptr);
    ~TFormRenamingFormats() override;

    // ---- components
    QGroupBox* GroupBox1;
    QLabel* lblNote;
    QListWidget* ListBoxFormats;
    QPushButton* btnDelete;
    QGroupBox* GroupBox2;
    QLineEdit* EditFormat;
    QPushButton* btnAddFormat;
    QPushButton* btnRenameArtist;
    QPushButton* btnRenameAlbum;
    QPushButton* btnRenameTrack;
    QPushButton* btnRenameTitle;
    QPushButton* BitBtn1;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // ---- handlers
    void btnRenameArtistClick();
    void btnRenameAlbumClick();
    void btnRenameTrackClick();
    void btnRenameTitleClick();
    void btnBitrateClick();
    void btnAddFormatClick();
    void btnDeleteClick();

private:
    void insertFormatToken(const QString& token);
};

// The dialog while it exists; created once at start.
extern TFormRenamingFormats* FormRenamingFormats;

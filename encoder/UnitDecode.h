#pragma once

#include "EncoderDialog.h"

#include <QPointer>

// "Decode MP3 files to WAV": the output folder and the run over chosen MPEG audio files.
class TFormDecode : public EncoderDialog {
    Q_OBJECT

public:
    TFormDecode(const EncoderFolderSource& folders, QWidget* parent = nullptr);

    QPushButton* btnDecode;

    void btnDecodeClick();

private:
    void FormCreate(const EncoderFolders& folders);
};

// Made by the main window's command on first use and kept while the main window lives.
extern QPointer<TFormDecode> FormDecode;

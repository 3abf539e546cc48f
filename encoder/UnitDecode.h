#pragma once

#include "EncoderDialog.h"

// "Decode MP3 files to WAV": the output folder and the run over chosen MPEG audio files.
class TFormDecode : public EncoderDialog {
    Q_OBJECT

public:
    TFormDecode(const EncoderFolders& folders, QWidget* parent = nullptr);

    QPushButton* btnDecode;

    void btnDecodeClick();
};

#pragma once

#include "EncoderDialog.h"

#include <QPointer>

class QCheckBox;
class QComboBox;
class QRadioButton;

// "Encode WAV files to MP3": the encoder's options, the output folder and the run over chosen WAV files.
class TFormEncode : public EncoderDialog {
    Q_OBJECT

public:
    TFormEncode(const EncoderFolderSource& folders, QWidget* parent = nullptr);

    QGroupBox* gbBitrate;
    QComboBox* cbBitrate;
    QRadioButton* rdConstant;
    QRadioButton* rdVariable;
    QComboBox* cbVbrMinBitrate;
    QGroupBox* gbMode;
    QRadioButton* rdStereo;
    QRadioButton* rdJoint;
    QRadioButton* rdDual;
    QRadioButton* rdMono;
    QGroupBox* gbQuality;
    QRadioButton* rdQualNormal;
    QRadioButton* rdQualHigh;
    QGroupBox* gbOptions;
    QCheckBox* cbCopyright;
    QCheckBox* cbOriginal;
    QCheckBox* cbCRC;
    QPushButton* btnEncode;

    // The options as the widgets show them now.
    EncodeOptions encodeOptions() const;

    void btnEncodeClick();

private:
    void FormCreate(const EncoderFolders& folders);
};

// Made by the main window's command on first use and kept while the main window lives.
extern QPointer<TFormEncode> FormEncode;

#include "UnitEncode.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <iterator>

QPointer<TFormEncode> FormEncode;

namespace {

const QStringList bitrates = {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256", "320"};

template <typename Button>
Button* makeButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new Button(caption, parent);
    button->setToolTip(hint);
    parent->layout()->addWidget(button);
    return button;
}

// A screen reader names a list after the label it is labelled by (the list's own name is its
// value): the list gets a label that never shows.
QComboBox* makeBitrateList(const QString& name, const QString& hint, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->addItems(bitrates);
    list->setToolTip(hint);
    auto* label = new QLabel(name, parent);
    label->setBuddy(list);
    label->hide();
    return list;
}

QGroupBox* makeGroup(const QString& caption, QWidget* parent)
{
    auto* group = new QGroupBox(caption, parent);
    new QVBoxLayout(group);
    return group;
}

}  // namespace

TFormEncode::TFormEncode(const EncoderFolderSource& folders, QWidget* parent)
    : EncoderDialog(folders,
                    {QStringLiteral("Specify the folder where encoded files will be saved"),
                     QStringLiteral("Open WAV files to encode"), QStringLiteral("WAV Audio Files (*.wav)"),
                     {QStringLiteral("Encoding"), QStringLiteral("encode")}},
                    parent)
{
    setWindowTitle(QStringLiteral("Encode WAV files to MP3"));

    gbBitrate = new QGroupBox(QStringLiteral("Bitrate (kbit/sec)"), this);
    cbBitrate = makeBitrateList(QStringLiteral("Constant bitrate"),
                                QStringLiteral("128=normal, 192=recommended, 256=high quality"), gbBitrate);
    rdConstant = new QRadioButton(QStringLiteral("Constant"), gbBitrate);
    rdConstant->setToolTip(QStringLiteral("Use a fixed bitrate"));
    rdVariable = new QRadioButton(QStringLiteral("Variable"), gbBitrate);
    rdVariable->setToolTip(QStringLiteral("Use a variable bitrate (VBR)"));
    cbVbrMinBitrate = makeBitrateList(QStringLiteral("Minimum variable bitrate"),
                                      QStringLiteral("MINIMUM variable bitrate allowed"), gbBitrate);
    auto* bitrateLayout = new QGridLayout(gbBitrate);
    bitrateLayout->addWidget(rdConstant, 0, 0);
    bitrateLayout->addWidget(cbBitrate, 0, 1);
    bitrateLayout->addWidget(rdVariable, 1, 0);
    bitrateLayout->addWidget(cbVbrMinBitrate, 1, 1);

    gbMode = makeGroup(QStringLiteral("Mode"), this);
    rdStereo = makeButton<QRadioButton>(QStringLiteral("Stereo"), QStringLiteral("Recommended for bitrate of 192 or better"), gbMode);
    rdJoint = makeButton<QRadioButton>(QStringLiteral("Joint Stereo"), QStringLiteral("Recommended for bitrate lower than 192"), gbMode);
    rdDual = makeButton<QRadioButton>(QStringLiteral("Dual Stereo"), QString(), gbMode);
    rdMono = makeButton<QRadioButton>(QStringLiteral("Mono"), QString(), gbMode);

    gbQuality = makeGroup(QStringLiteral("Quality"), this);
    rdQualNormal = makeButton<QRadioButton>(
        QStringLiteral("Normal"), QStringLiteral("Normal quality, for VBR files it means average quality of 4 (default)"), gbQuality);
    rdQualHigh = makeButton<QRadioButton>(
        QStringLiteral("High"),
        QStringLiteral("Requires more time to encode, for VBR files high quality means best quality possible (0)"), gbQuality);

    gbOptions = makeGroup(QStringLiteral("Options"), this);
    cbCopyright = makeButton<QCheckBox>(QStringLiteral("Copyright"), QStringLiteral("Include a copyright indicator"), gbOptions);
    cbOriginal = makeButton<QCheckBox>(QStringLiteral("Original"), QStringLiteral("Include original (not a copy) indicator"), gbOptions);
    cbCRC = makeButton<QCheckBox>(QStringLiteral("CRC"), QStringLiteral("Include error protection in each frame (cyclic redundancy check)"), gbOptions);

    btnEncode = new QPushButton(QStringLiteral("Encode ..."), this);
    btnEncode->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(gbBitrate, 0, 0);
    layout->addWidget(gbQuality, 0, 1);
    layout->addWidget(gbMode, 1, 0);
    layout->addWidget(gbOptions, 1, 1);
    layout->addWidget(gbOutput, 2, 0, 1, 2);
    layout->addLayout(commandRow(btnEncode), 3, 0, 1, 2);
    // Tab follows the layout: the boxes row by row, then the output folder and the buttons.
    QWidget* const tabOrder[] = {rdConstant, cbBitrate,   rdVariable, cbVbrMinBitrate, rdQualNormal, rdQualHigh,
                                 rdStereo,   rdJoint,     rdDual,     rdMono,          cbCopyright,  cbOriginal,
                                 cbCRC,      EditOutput,  sbtnBrowse, btnEncode};
    for (std::size_t next = 1; next < std::size(tabOrder); ++next)
        setTabOrder(tabOrder[next - 1], tabOrder[next]);

    connect(btnEncode, &QPushButton::clicked, this, &TFormEncode::btnEncodeClick);
    FormCreate(folders());
}

void TFormEncode::FormCreate(const EncoderFolders& folders)
{
    cbBitrate->setCurrentIndex(10);
    rdConstant->setChecked(true);
    cbVbrMinBitrate->setCurrentIndex(4);
    EditOutput->setText(folders.output);
    rdStereo->setChecked(true);
    rdQualHigh->setChecked(true);
    cbCopyright->setChecked(false);
    cbOriginal->setChecked(false);
    cbCRC->setChecked(false);
}

EncodeOptions TFormEncode::encodeOptions() const
{
    EncodeOptions options;
    options.constantBitrate = rdConstant->isChecked();
    options.bitrate = cbBitrate->currentText();
    options.vbrMinBitrate = cbVbrMinBitrate->currentText();
    options.highQuality = rdQualHigh->isChecked();
    options.mode = rdJoint->isChecked() ? EncodeMode::Joint
                   : rdDual->isChecked() ? EncodeMode::Dual
                   : rdMono->isChecked() ? EncodeMode::Mono
                                         : EncodeMode::Stereo;
    options.copyright = cbCopyright->isChecked();
    options.original = cbOriginal->isChecked();
    options.crc = cbCRC->isChecked();
    return options;
}

void TFormEncode::btnEncodeClick()
{
    const EncodeOptions options = encodeOptions();
    convertFiles([&](const QString& input, const QString& outputFolder) {
        return encodeCommand(options, input, outputFolder);
    });
}

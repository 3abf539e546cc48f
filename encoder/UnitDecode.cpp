#include "UnitDecode.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QPointer<TFormDecode> FormDecode;

TFormDecode::TFormDecode(const EncoderFolderSource& folders, QWidget* parent)
    : EncoderDialog(folders,
                    {QStringLiteral("Specify the folder where decoded files will be saved"),
                     QStringLiteral("Open MP3 files to decode"),
                     QStringLiteral("Mpeg Audio Files (*.mp3, *.mp2)  (*.MP3 *.MP2)"),
                     {QStringLiteral("Decoding"), QStringLiteral("decode")}},
                    parent)
    , btnDecode(new QPushButton(QStringLiteral("Decode ..."), this))
{
    setWindowTitle(QStringLiteral("Decode MP3 files to WAV"));
    btnDecode->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbOutput);
    layout->addLayout(commandRow(btnDecode));

    connect(btnDecode, &QPushButton::clicked, this, &TFormDecode::btnDecodeClick);
    FormCreate(folders());
}

void TFormDecode::FormCreate(const EncoderFolders& folders)
{
    EditOutput->setText(folders.output);
}

void TFormDecode::btnDecodeClick()
{
    convertFiles(decodeCommand);
}

#include "EncoderDialog.h"

#include "EnterPresses.h"
#include "UnitBrowseFolder.h"
#include "UserInterface.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <utility>

EncoderDialog::EncoderDialog(EncoderFolderSource folders, const Texts& texts, QWidget* parent)
    : QDialog(parent)
    , gbOutput(new QGroupBox(QStringLiteral("Output Folder"), this))
    , EditOutput(new QLineEdit(gbOutput))
    , sbtnBrowse(new QToolButton(gbOutput))
    , btnClose(new QPushButton(QStringLiteral("Close"), this))
    , folders(std::move(folders))
    , texts(texts)
{
    EditOutput->setMinimumWidth(280);
    sbtnBrowse->setText(QStringLiteral("Browse"));
    sbtnBrowse->setAutoRaise(true);
    sbtnBrowse->setToolTip(texts.browseHint);
    auto* outputLayout = new QHBoxLayout(gbOutput);
    outputLayout->addWidget(EditOutput);
    outputLayout->addWidget(sbtnBrowse);

    // Esc closes the dialog through QDialog itself. No button is the default, so that Enter in a
    // field starts no run; Enter on a button presses it.
    btnClose->setAutoDefault(false);
    connect(sbtnBrowse, &QToolButton::clicked, this, &EncoderDialog::sbtnBrowseClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

QHBoxLayout* EncoderDialog::commandRow(QPushButton* run)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(run);
    row->addWidget(btnClose);
    setTabOrder(run, btnClose);
    for (QPushButton* button : {run, btnClose})
        pressOnEnter(button, button);
    return row;
}

void EncoderDialog::sbtnBrowseClick()
{
    TFormBrowseFolder browse(this);
    browse.chkSubfolders->hide();
    browse.SetMessage(QStringLiteral("Select a folder to open."));
    browse.InitialFolder = folders().output;
    if (browse.exec() == QDialog::Accepted)
        EditOutput->setText(browse.GetFolder());
}

void EncoderDialog::convertFiles(const CommandBuilder& commandFor)
{
    if (!QFileInfo(EditOutput->text()).isDir()) {
        ui::showMessage(QStringLiteral("Output folder does not exist."));
        return;
    }
    if (!EditOutput->text().endsWith(QLatin1Char('/')))
        EditOutput->setText(EditOutput->text() + QLatin1Char('/'));

    ui::FileDialogRequest request;
    request.title = texts.openTitle;
    request.filter = texts.openFilter;
    request.initialFolder = folders().open;
    request.multiSelect = true;
    const QStringList inputs = ui::userInterface().openFiles(request).files;
    if (inputs.isEmpty())
        return;

    const QString outputFolder = EditOutput->text();
    runLame(this, inputs, texts.run,
            [&](const QString& input) { return commandFor(input, outputFolder); });
}

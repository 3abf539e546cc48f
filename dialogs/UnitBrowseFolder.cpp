#include "UnitBrowseFolder.h"

#include "FixedDialogSize.h"
#include "FolderTree.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFormBrowseFolder::TFormBrowseFolder(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Browse for folder"));

    lblMsg = new QLabel(this);
    lblMsg->setWordWrap(true);
    VETree = new FolderTree(this);
    chkSubfolders = new QCheckBox(QStringLiteral("Open files in subfolders"), this);
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    // OK chooses a folder: without a selection there is none to give.
    btnOk->setEnabled(false);
    connect(VETree, &FolderTree::selectedPathChanged, this, [this] { btnOk->setEnabled(!GetFolder().isEmpty()); });
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addWidget(VETree, 1);
    layout->addWidget(chkSubfolders);
    layout->addLayout(buttons);
    setFixedSize(fixedDialogSize(layout, QSize(334, 332)));
}

void TFormBrowseFolder::SetMessage(const QString& text)
{
    lblMsg->setText(text);
}

bool TFormBrowseFolder::GetSubfolders() const
{
    return chkSubfolders->isChecked();
}

void TFormBrowseFolder::SetSubfolders(bool subfolders)
{
    chkSubfolders->setChecked(subfolders);
}

QString TFormBrowseFolder::GetFolder() const
{
    return VETree->selectedPath();
}

void TFormBrowseFolder::SelectFolder(const QString& path)
{
    VETree->browseTo(path);
}

void TFormBrowseFolder::FormShow()
{
    SelectFolder(InitialFolder);
}

void TFormBrowseFolder::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

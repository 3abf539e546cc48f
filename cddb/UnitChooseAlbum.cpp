#include "UnitChooseAlbum.h"

#include "FixedDialogSize.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

TFormChooseAlbum::TFormChooseAlbum(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , ListBoxAlbums(new QListWidget(this))
    , btnOk(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("Choose Album"));
    btnOk->setDefault(true);
    ListBoxAlbums->setAccessibleName(QStringLiteral("Albums found"));
    // The designed places at the designed size; larger where this desktop's font needs more room.
    ListBoxAlbums->setMinimumSize(325, 77);
    btnOk->setFixedSize(std::max(75, captionWidth(btnOk)), std::max(25, btnOk->sizeHint().height()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(11);
    layout->addWidget(ListBoxAlbums, 1);
    layout->addWidget(btnOk, 0, Qt::AlignHCenter);
    setFixedSize(fixedDialogSize(layout, QSize(341, 129)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListBoxAlbums, &QListWidget::itemDoubleClicked, this, &TFormChooseAlbum::ListBoxAlbumsDblClick);
}

void TFormChooseAlbum::ListBoxAlbumsDblClick()
{
    accept();
}

#include "UnitChooseAlbum.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

TFormChooseAlbum::TFormChooseAlbum(QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , ListBoxAlbums(new QListWidget(this))
    , btnOk(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("Choose Album"));
    setFixedSize(341, 129);
    ListBoxAlbums->setGeometry(8, 8, 325, 77);
    btnOk->setGeometry(133, 96, 75, 25);
    btnOk->setDefault(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListBoxAlbums, &QListWidget::itemDoubleClicked, this, &TFormChooseAlbum::ListBoxAlbumsDblClick);
}

void TFormChooseAlbum::ListBoxAlbumsDblClick()
{
    accept();
}

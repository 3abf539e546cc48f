#include "UnitChooseAlbum.h"

#include "FixedDialogSize.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
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
    // The designed places at the designed size; larger where this desktop's font needs more room,
    // with four rows of matches in sight.
    ListBoxAlbums->setMinimumSize(325, std::max(77, 4 * textRowHeight(ListBoxAlbums) + 2 * ListBoxAlbums->frameWidth()));
    btnOk->setFixedSize(std::max(75, captionWidth(btnOk)), std::max(25, btnOk->sizeHint().height()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(11);
    layout->addWidget(ListBoxAlbums, 1);
    layout->addWidget(btnOk, 0, Qt::AlignHCenter);
    fitToMatches();

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListBoxAlbums, &QListWidget::itemDoubleClicked, this, &TFormChooseAlbum::ListBoxAlbumsDblClick);
}

void TFormChooseAlbum::ListBoxAlbumsDblClick()
{
    accept();
}

void TFormChooseAlbum::showEvent(QShowEvent* event)
{
    fitToMatches();
    QDialog::showEvent(event);
}

// The matches arrive after the dialog is made: it grows to show each whole, as far as the screen has
// room, and stays centred.
void TFormChooseAlbum::fitToMatches()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QMargins margins = layout()->contentsMargins();
    const int room = screen ? screen->availableGeometry().width() - margins.left() - margins.right() : QWIDGETSIZE_MAX;
    const int names = ListBoxAlbums->sizeHintForColumn(0) + 2 * ListBoxAlbums->frameWidth()
                      + ListBoxAlbums->verticalScrollBar()->sizeHint().width();
    ListBoxAlbums->setMinimumWidth(std::clamp(names, 325, std::max(325, room)));
    setFixedSize(fixedDialogSize(layout(), QSize(341, 129)));
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

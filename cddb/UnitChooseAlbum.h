#pragma once

// The match chooser: lists the matches of a query; the selected line is the one read.

#include <QDialog>

class QListWidget;
class QPushButton;

class TFormChooseAlbum : public QDialog {
    Q_OBJECT
public:
    explicit TFormChooseAlbum(QWidget* Owner);

    QListWidget* ListBoxAlbums;
    QPushButton* btnOk;

    void ListBoxAlbumsDblClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitToMatches();
};

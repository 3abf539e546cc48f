#pragma once

// The about box: the program's picture, its version and its web address.

#include <QDialog>

class QLabel;
class QPushButton;

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* lblVersion;
    QLabel* lbUrl;
    QPushButton* BitBtn1;

    void FormShow();
    void lbUrlClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The about box, created once at start and kept.
extern TFormAbout* FormAbout;

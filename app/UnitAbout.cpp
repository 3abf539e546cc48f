#include "UnitAbout.h"

#include "ProgramIcon.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

TFormAbout* FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint)
{
    setWindowTitle(QStringLiteral("About Corvane"));

    Image1 = new QLabel(this);
    Image1->setPixmap(programIcon().pixmap(64, 64));
    lblVersion = new QLabel(this);
    QFont versionFont = lblVersion->font();
    versionFont.setBold(true);
    versionFont.setPointSizeF(versionFont.pointSizeF() * 1.3);
    lblVersion->setFont(versionFont);
    lbUrl = new QLabel(QStringLiteral("https://corvane.example.org/"), this);
    lbUrl->setCursor(Qt::PointingHandCursor);
    // A link in the colour scheme's own link colour, which reads on light and dark windows.
    lbUrl->setForegroundRole(QPalette::Link);
    QFont linkFont = lbUrl->font();
    linkFont.setUnderline(true);
    lbUrl->setFont(linkFont);
    lbUrl->installEventFilter(this);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblVersion);
    texts->addWidget(lbUrl);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormAbout::FormShow()
{
    lblVersion->setText(QStringLiteral("Corvane v2.3"));
}

void TFormAbout::lbUrlClick()
{
    QDesktopServices::openUrl(QUrl(lbUrl->text()));
}

void TFormAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbUrl && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lbUrlClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// OK is the cancel button as well, so Escape closes the box with OK.
void TFormAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        BitBtn1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

#include "UnitGetAlbumFreedb.h"

#include "FixedDialogSize.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>

namespace {

const QString EditHint = QStringLiteral(
    "You can modify this field to overwrite freedb data when saving tags|These fields are NOT used by the "
    "search, only the length and order of the files are");

// Column 0 shows a check box image instead of its "1" or "0".
class CheckColumnDelegate : public QStyledItemDelegate {
public:
    CheckColumnDelegate(const QPixmap& checked, const QPixmap& unchecked, QObject* parent)
        : QStyledItemDelegate(parent), checked(checked), unchecked(unchecked)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.column() != 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRect cell = option.rect;
        painter->fillRect(cell, option.palette.button());
        const QPixmap& image = index.data().toString() == QLatin1String("1") ? checked : unchecked;
        const QSize size = image.deviceIndependentSize().toSize();
        painter->drawPixmap((cell.left() + cell.right() + 1 - size.width()) / 2,
                            (cell.top() + cell.bottom() + 1 - size.height()) / 2, image);
    }

private:
    const QPixmap& checked;
    const QPixmap& unchecked;
};

QPixmap checkBoxImage(QWidget* widget, bool checked)
{
    QStyleOptionButton option;
    option.initFrom(widget);
    const QStyle* style = widget->style();
    option.rect = QRect(0, 0, style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                        style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    QPixmap image(option.rect.size());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, widget);
    return image;
}

QLineEdit* newHintedEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    // The dialog has no status bar for the long hint: the tool tip tells it after the short one.
    edit->setToolTip(EditHint.section(QLatin1Char('|'), 0, 0) + QLatin1Char('\n') + EditHint.section(QLatin1Char('|'), 1));
    edit->setEnabled(false);
    return edit;
}

}  // namespace

qint32 FreedbPortOf(const QString& Setting)
{
    const bool digitsOnly = !Setting.isEmpty()
        && std::all_of(Setting.begin(), Setting.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digitsOnly)
        return 8880;
    // Too many digits for a number: no port, so the connection fails with its message.
    bool ok = false;
    const qint32 port = Setting.toInt(&ok);
    return ok ? port : 0;
}

TFormFreedb::TFormFreedb(TFreedbHost Host, QWidget* Owner)
    : QDialog(Owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
    , FHost(std::move(Host))
{
    BuildLayout();
    FormCreate();
    connect(btnQuery, &QPushButton::clicked, this, &TFormFreedb::btnQueryClick);
    connect(btnWriteTags, &QPushButton::clicked, this, &TFormFreedb::btnWriteTagsClick);
    connect(btnClose, &QPushButton::clicked, this, &TFormFreedb::btnCloseClick);
}

TFormFreedb::~TFormFreedb() = default;

void TFormFreedb::BuildLayout()
{
    setWindowTitle(QStringLiteral("Get Album From Freedb"));

    gbAlbum = new QGroupBox(QStringLiteral("Album Info"), this);
    editArtist = newHintedEdit(gbAlbum);
    editAlbum = newHintedEdit(gbAlbum);
    editYear = newHintedEdit(gbAlbum);
    editGenre = newHintedEdit(gbAlbum);

    sgTracks = new QTableWidget(1, 3, gbAlbum);
    sgTracks->setAccessibleName(QStringLiteral("Tracks"));
    // The style's minimum section sizes would widen the check column and heighten the rows.
    sgTracks->horizontalHeader()->setMinimumSectionSize(22);
    sgTracks->verticalHeader()->setMinimumSectionSize(16);
    // As designed, or as large as track numbers and a line of text need at this desktop's font.
    const int numberWidth = std::max(22, textColumnWidth(sgTracks, QStringLiteral("99")));
    const int rowHeight = std::max(16, textRowHeight(sgTracks));
    sgTracks->setColumnWidth(0, 22);
    sgTracks->setColumnWidth(1, numberWidth);
    sgTracks->setColumnWidth(2, 317);
    sgTracks->verticalHeader()->hide();
    sgTracks->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgTracks->verticalHeader()->setDefaultSectionSize(rowHeight);
    sgTracks->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgTracks->horizontalHeader()->setSectionsClickable(false);
    sgTracks->horizontalHeader()->setHighlightSections(false);
    sgTracks->setHorizontalHeaderLabels({QString(), QStringLiteral("#"), QStringLiteral("Track Name")});
    sgTracks->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgTracks->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    sgTracks->setShowGrid(true);
    sgTracks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // No cell is ever selected.
    sgTracks->setSelectionMode(QAbstractItemView::NoSelection);
    sgTracks->setFocusPolicy(Qt::NoFocus);
    sgTracks->viewport()->installEventFilter(this);
    sgTracks->horizontalHeader()->viewport()->installEventFilter(this);

    auto* albumLayout = new QGridLayout(gbAlbum);
    albumLayout->setVerticalSpacing(3);
    // Each label names its control for screen readers.
    const auto label = [this](const QString& caption, QWidget* control) {
        auto* result = new QLabel(caption, gbAlbum);
        result->setBuddy(control);
        return result;
    };
    albumLayout->addWidget(label(QStringLiteral("Artist:"), editArtist), 0, 0);
    albumLayout->addWidget(editArtist, 0, 1, 1, 3);
    albumLayout->addWidget(label(QStringLiteral("Album:"), editAlbum), 1, 0);
    albumLayout->addWidget(editAlbum, 1, 1, 1, 3);
    albumLayout->addWidget(label(QStringLiteral("Year:"), editYear), 2, 0);
    albumLayout->addWidget(editYear, 2, 1);
    albumLayout->addWidget(label(QStringLiteral("Genre:"), editGenre), 2, 2);
    albumLayout->addWidget(editGenre, 2, 3);
    albumLayout->addWidget(new QLabel(QStringLiteral("Tracks:"), gbAlbum), 3, 0, Qt::AlignTop);
    albumLayout->addWidget(sgTracks, 3, 1, 1, 3);
    albumLayout->setColumnStretch(3, 1);

    gbTags = new QGroupBox(QStringLiteral("Save Tags"), this);
    rdV1 = new QRadioButton(QStringLiteral("ID3v1"), gbTags);
    rdV2 = new QRadioButton(QStringLiteral("ID3v2"), gbTags);
    rdBoth = new QRadioButton(QStringLiteral("Both"), gbTags);
    rdBoth->setChecked(true);
    auto* tagsLayout = new QHBoxLayout(gbTags);
    tagsLayout->addWidget(rdV1);
    tagsLayout->addWidget(rdV2);
    tagsLayout->addWidget(rdBoth);

    Image1 = new QLabel(QStringLiteral("gnudb.org"), this);
    Image1->setFrameShape(QFrame::Box);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFixedSize(QSize(88, 31).expandedTo(Image1->sizeHint()));

    GroupBox1 = new QGroupBox(this);
    btnQuery = new QPushButton(QStringLiteral("Query freedb"), GroupBox1);
    btnQuery->setDefault(true);
    btnWriteTags = new QPushButton(QStringLiteral("Save Tags"), GroupBox1);
    btnClose = new QPushButton(QStringLiteral("Close"), GroupBox1);
    auto* buttonsLayout = new QHBoxLayout(GroupBox1);
    buttonsLayout->addWidget(btnQuery);
    buttonsLayout->addWidget(btnWriteTags);
    buttonsLayout->addWidget(btnClose);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(gbTags);
    bottom->addWidget(Image1, 0, Qt::AlignBottom);
    bottom->addWidget(GroupBox1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(gbAlbum, 1);
    layout->addLayout(bottom);

    // The designed size, grown where this desktop's fonts need more room; never resized by the user.
    const int frame = 2 * sgTracks->frameWidth();
    sgTracks->setFixedSize(22 + numberWidth + 317 + sgTracks->verticalScrollBar()->sizeHint().width() + frame,
                           sgTracks->horizontalHeader()->sizeHint().height() + 7 * rowHeight + frame);
    setFixedSize(sizeHint().expandedTo(QSize(497, 276)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormFreedb::FormCreate()
{
    Freedb = std::make_unique<TFreedb>();
    UncheckedBitmap = checkBoxImage(this, false);
    CheckedBitmap = checkBoxImage(this, true);
    sgTracks->setItemDelegateForColumn(0, new CheckColumnDelegate(CheckedBitmap, UncheckedBitmap, sgTracks));
}

void TFormFreedb::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormFreedb::FormShow()
{
    Freedb->FHost = FHost.FreedbServer;
    Freedb->FPort = FreedbPortOf(FHost.FreedbPort);
    ResetForm();
    btnQuery->setFocus();
}

bool TFormFreedb::FormCloseQuery() const
{
    // A lookup in progress waits for its server; closing now would pull the dialog from under it.
    return btnClose->isEnabled();
}

void TFormFreedb::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void TFormFreedb::reject()
{
    if (FormCloseQuery())
        QDialog::reject();
}

void TFormFreedb::btnCloseClick()
{
    close();
}

void TFormFreedb::ResetForm()
{
    btnWriteTags->setEnabled(false);
    btnQuery->setEnabled(true);
    editArtist->clear();
    editAlbum->clear();
    editGenre->clear();
    editYear->clear();
    sgTracks->clearContents();
    sgTracks->setRowCount(1);
}

int TFormFreedb::RowCount() const
{
    return sgTracks->rowCount() + 1;
}

QString TFormFreedb::Cell(int Column, int Row) const
{
    if (Row == 0)
        return sgTracks->horizontalHeaderItem(Column)->text();
    const QTableWidgetItem* item = sgTracks->item(Row - 1, Column);
    return item ? item->text() : QString();
}

void TFormFreedb::SetCell(int Column, int Row, const QString& Text)
{
    if (Row == 0)
        sgTracks->horizontalHeaderItem(Column)->setText(Text);
    else
        sgTracks->setItem(Row - 1, Column, new QTableWidgetItem(Text));
}

int TFormFreedb::CheckedCount() const
{
    int count = 0;
    for (int row = 1; row < RowCount(); ++row) {
        if (Cell(0, row) == QLatin1String("1"))
            ++count;
    }
    return count;
}

bool TFormFreedb::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint position = mouse->position().toPoint();
        if (watched == sgTracks->horizontalHeader()->viewport()) {
            const int column = sgTracks->horizontalHeader()->logicalIndexAt(position.x());
            if (column >= 0)
                sgTracksMouseUp(mouse->button(), 0, column);
        } else if (watched == sgTracks->viewport()) {
            const int row = sgTracks->rowAt(position.y());
            const int column = sgTracks->columnAt(position.x());
            if (row >= 0 && column >= 0)
                sgTracksMouseUp(mouse->button(), row + 1, column);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormFreedb::sgTracksMouseUp(Qt::MouseButton Button, int Row, int Column)
{
    if (Column != 0)
        return;
    const int files = static_cast<int>(FHost.Files.size());
    if (Row == 0) {
        // Left: the first tracks again, one per file; any other button: none.
        for (int row = 1; row < RowCount(); ++row)
            SetCell(0, row, QStringLiteral("0"));
        if (Button == Qt::LeftButton) {
            for (int row = 1; row <= std::min(files, RowCount() - 1); ++row)
                SetCell(0, row, QStringLiteral("1"));
        }
    } else if (Cell(0, Row) == QLatin1String("1")) {
        SetCell(0, Row, QStringLiteral("0"));
    } else if (CheckedCount() < files) {
        // A track beyond the number of files would have no file to go to.
        SetCell(0, Row, QStringLiteral("1"));
    }
    sgTracks->viewport()->update();
}

QString TFormFreedb::GetCategory(const QString& Line)
{
    const qsizetype blank = Line.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : Line.left(blank);
}

QString TFormFreedb::GetDiscId(const QString& Line)
{
    const qsizetype first = Line.indexOf(QLatin1Char(' '));
    const qsizetype second = first < 0 ? -1 : Line.indexOf(QLatin1Char(' '), first + 1);
    return second < 0 ? QString() : Line.mid(first + 1, second - first - 1);
}

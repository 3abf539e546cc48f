// The main window's panels, folder tree, grid, tag pages, lights, information labels and status bar.

#include "UnitMain.h"

#include "FileGridModel.h"
#include "FolderTree.h"
#include "PathLine.h"
#include "ProgramIcon.h"
#include "TypingLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int ReadableCharacters = 8;

// The grid's rows: one line high, a horizontal line under each, and no focus rectangle. A text cut
// short ends in an ellipsis, so that its start shows whatever its writing direction; the narrow
// version columns show "1.1" or "2.3" whole instead.
class GridRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The lines of a text (a comment of several lines) side by side: the row would grow with them.
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]+"));
        const QString text = QStyledItemDelegate::displayText(value, locale);
        return text.split(lineBreaks, Qt::SkipEmptyParts).join(QLatin1Char(' '));
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        plain.state &= ~QStyle::State_HasFocus;
        if (index.column() == 1 || index.column() == 2)
            plain.textElideMode = Qt::ElideNone;
        QStyledItemDelegate::paint(painter, plain, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

QWidget* panel(QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setContentsMargins(0, 0, 0, 0);
    return widget;
}

template <typename Layout>
Layout* tightLayout(QWidget* owner)
{
    auto* layout = new Layout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A field lock: a toggle button before its field, down = locked.
QToolButton* lockButton(QWidget* parent, const QString& caption, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return button;
}

QString lockHint(const QString& field)
{
    return QStringLiteral("Use this %1 for all selected files").arg(field);
}

// A lit light is a disk, an unlit one a ring: the two differ also to an eye that does not tell red
// from green. The disk covers the ring.
QPixmap lightPixmap(const QColor& color, bool lit)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (lit) {
        painter.setPen(color.darker(160));
        painter.setBrush(color);
        painter.drawEllipse(1, 1, 10, 10);
    } else {
        painter.setPen(QPen(color, 2));
        painter.drawEllipse(2, 2, 8, 8);
    }
    return pixmap;
}

// A text the program puts into a field shows from its start; the user's own typing, which marks the
// field modified, keeps the caret where it is.
void showStartWhenFilled(QLineEdit* field)
{
    QObject::connect(field, &QLineEdit::textChanged, field, [field] {
        if (!field->isModified())
            field->setCursorPosition(0);
    });
}

// A screen reader names a field by its lock button's caption. A combo box it names after the label
// the box is labelled by (the box's own name is its value), so a genre box gets a label that never shows.
void nameAfterLock(QWidget* field, const QToolButton* lock)
{
    field->setAccessibleName(lock->text());
    if (qobject_cast<QComboBox*>(field)) {
        auto* label = new QLabel(lock->text(), field->parentWidget());
        label->setBuddy(field);
        label->hide();
    }
}

// Each lock names its field and comes before it in the Tab order, pair after pair as given. The page
// lies in the window already: on a page of its own, the step that closes its chain would be lost.
void pairLocksWithFields(std::initializer_list<std::pair<QWidget*, QToolButton*>> pairs)
{
    QWidget* previous = nullptr;
    for (const auto& [field, lock] : pairs) {
        nameAfterLock(field, lock);
        if (previous)
            QWidget::setTabOrder(previous, lock);
        QWidget::setTabOrder(lock, field);
        previous = field;
    }
}

// A field shows at least this many characters, also in the smallest window.
void keepInView(QWidget* field, int characters)
{
    field->setMinimumWidth(field->minimumSizeHint().width() + field->fontMetrics().averageCharWidth() * characters);
}

QLabel* valueLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setMinimumWidth(70);
    return label;
}

}  // namespace

void TFormMain::createLayout()
{
    setWindowTitle(QStringLiteral("Corvane"));
    setWindowIcon(programIcon());
    resize(DesignedWidth, DesignedHeight);
    setMinimumSize(600, 380);

    auto* central = panel(this);
    auto* centralLayout = tightLayout<QVBoxLayout>(central);
    setCentralWidget(central);

    PanelTopToolbar = panel(central);
    ToolBar1 = new QToolBar(PanelTopToolbar);
    tightLayout<QHBoxLayout>(PanelTopToolbar)->addWidget(ToolBar1);
    centralLayout->addWidget(PanelTopToolbar);

    PanelMain = panel(central);
    centralLayout->addWidget(PanelMain, 1);
    auto* mainLayout = tightLayout<QVBoxLayout>(PanelMain);
    auto* mainArea = panel(PanelMain);
    auto* mainAreaLayout = tightLayout<QHBoxLayout>(mainArea);
    mainLayout->addWidget(mainArea, 1);
    panelFilePath = new PathLine(QStringLiteral(" File path:"), PanelMain);
    panelFilePath->setFrameShape(QFrame::StyledPanel);
    panelFilePath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mainLayout->addWidget(panelFilePath);

    PanelRightForFullTree = panel(mainArea);
    tightLayout<QVBoxLayout>(PanelRightForFullTree);
    PanelRightForFullTree->setFixedWidth(0);
    mainAreaLayout->addWidget(PanelRightForFullTree);
    panelright = panel(mainArea);
    mainAreaLayout->addWidget(panelright, 1);
    auto* rightLayout = tightLayout<QVBoxLayout>(panelright);

    PanelTop = panel(panelright);
    rightLayout->addWidget(PanelTop, 1);
    Splitter1 = new QSplitter(Qt::Horizontal, PanelTop);
    Splitter1->setChildrenCollapsible(false);
    tightLayout<QHBoxLayout>(PanelTop)->addWidget(Splitter1);

    PanelTopLeft = panel(Splitter1);
    auto* leftLayout = tightLayout<QVBoxLayout>(PanelTopLeft);
    VETreeMain = new FolderTree(PanelTopLeft);
    leftLayout->addWidget(VETreeMain, 1);
    chkSubfolders = new QCheckBox(QStringLiteral("Open files in subfolders"), PanelTopLeft);
    chkSubfolders->setToolTip(QStringLiteral("Recursively open files in the selected folder"));
    chkSubfolders->setStatusTip(chkSubfolders->toolTip());
    leftLayout->addWidget(chkSubfolders);
    PanelTopLeft->setMinimumWidth(11);

    PanelTopRight = panel(Splitter1);
    vtgrid = new QTreeView(PanelTopRight);
    vtgrid->setAccessibleName(QStringLiteral("Files"));
    tightLayout<QVBoxLayout>(PanelTopRight)->addWidget(vtgrid);
    vtgridModel = new FileGridModel(*this);
    vtgrid->setModel(vtgridModel);
    vtgrid->setRootIsDecorated(false);
    vtgrid->setItemsExpandable(false);
    vtgrid->setUniformRowHeights(true);
    vtgrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    vtgrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    vtgrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vtgrid->setItemDelegate(new GridRowDelegate(vtgrid));
    vtgrid->header()->setSectionsMovable(true);
    vtgrid->header()->setSectionsClickable(true);
    vtgrid->header()->setStretchLastSection(false);
    vtgrid->header()->setMinimumSectionSize(10);
    for (int column = 0; column < GridColumnCount; ++column) {
        const GridColumn& shape = GridColumns[column];
        vtgrid->header()->setSectionResizeMode(column, shape.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
        vtgrid->setColumnWidth(column, fittedColumnWidth(column, shape.width));
        vtgrid->setColumnHidden(column, !shape.visible);
    }

    Splitter1->addWidget(PanelTopLeft);
    Splitter1->addWidget(PanelTopRight);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({DesignedPanelTopLeftWidth, DesignedWidth - DesignedPanelTopLeftWidth});
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { folderPanelWidth = Splitter1->sizes().value(0); });

    PanelBottom = panel(panelright);
    rightLayout->addWidget(PanelBottom);
    auto* bottomLayout = new QHBoxLayout(PanelBottom);
    bottomLayout->setContentsMargins(2, 2, 2, 2);
    PageControlTag = new QTabWidget(PanelBottom);
    PageControlTag->setDocumentMode(true);
    TabSheetV1 = createTagPageV1();
    TabSheetV2 = createTagPageV2();
    PageControlTag->addTab(TabSheetV1, QStringLiteral("Tag ID3 V1"));
    PageControlTag->addTab(TabSheetV2, QStringLiteral("Tag ID3 V2"));
    bottomLayout->addWidget(PageControlTag, 1);
    GroupBox1 = createTagLights();
    bottomLayout->addWidget(GroupBox1, 0, Qt::AlignTop);
    GroupBox2 = createMpegInformation();
    bottomLayout->addWidget(GroupBox2, 0, Qt::AlignTop);

    createStatusBar();

    OpenDialogOpenMpeg.title = QStringLiteral("Open Mpeg Audio Files");
    OpenDialogOpenMpeg.filter = QStringLiteral("Mpeg Audio Files (*.mp3, *.mp2)  (*.mp3 *.mp2 *.MP3 *.MP2)");
    OpenDialogOpenMpeg.multiSelect = true;
}

QWidget* TFormMain::createTagPageV1()
{
    auto* page = new QWidget(PageControlTag);
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    const auto field = [page](int maxLength) {
        auto* edit = new QLineEdit(page);
        edit->setValidator(new TypingLimit(edit, maxLength));
        keepInView(edit, std::min(maxLength, ReadableCharacters));
        showStartWhenFilled(edit);
        return edit;
    };
    EditTitleV1 = field(30);
    EditArtistV1 = field(30);
    EditAlbumV1 = field(30);
    EditYearV1 = field(4);
    EditTrackV1 = field(2);
    EditCommentV1 = field(28);
    cbGenreV1 = new QComboBox(page);
    cbGenreV1->setEditable(false);

    sbtnTitleV1 = lockButton(page, QStringLiteral("Title"), lockHint(QStringLiteral("title")));
    sbtnArtistV1 = lockButton(page, QStringLiteral("Artist"), lockHint(QStringLiteral("artist")));
    sbtnAlbumV1 = lockButton(page, QStringLiteral("Album"), lockHint(QStringLiteral("album")));
    sbtnYearV1 = lockButton(page, QStringLiteral("Year"), lockHint(QStringLiteral("year")));
    sbtnTrackV1 = lockButton(page, QStringLiteral("Track"), lockHint(QStringLiteral("track")));
    sbtnCommentV1 = lockButton(page, QStringLiteral("Comment"), lockHint(QStringLiteral("comment")));
    sbtnGenreV1 = lockButton(page, QStringLiteral("Genre"), lockHint(QStringLiteral("genre")));
    pairLocksWithFields({{EditTitleV1, sbtnTitleV1}, {EditArtistV1, sbtnArtistV1}, {EditAlbumV1, sbtnAlbumV1},
                         {EditYearV1, sbtnYearV1}, {EditTrackV1, sbtnTrackV1}, {EditCommentV1, sbtnCommentV1},
                         {cbGenreV1, sbtnGenreV1}});

    grid->addWidget(sbtnTitleV1, 0, 0);
    grid->addWidget(EditTitleV1, 0, 1, 1, 3);
    grid->addWidget(sbtnArtistV1, 1, 0);
    grid->addWidget(EditArtistV1, 1, 1, 1, 3);
    grid->addWidget(sbtnAlbumV1, 2, 0);
    grid->addWidget(EditAlbumV1, 2, 1, 1, 3);
    grid->addWidget(sbtnYearV1, 3, 0);
    grid->addWidget(EditYearV1, 3, 1);
    grid->addWidget(sbtnTrackV1, 3, 2);
    grid->addWidget(EditTrackV1, 3, 3);
    grid->addWidget(sbtnCommentV1, 4, 0);
    grid->addWidget(EditCommentV1, 4, 1, 1, 3);
    grid->addWidget(sbtnGenreV1, 5, 0);
    grid->addWidget(cbGenreV1, 5, 1, 1, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

QWidget* TFormMain::createTagPageV2()
{
    auto* page = new QWidget(PageControlTag);
    auto* grid = new QGridLayout(page);
    grid->setVerticalSpacing(2);
    const auto field = [page](int characters = ReadableCharacters) {
        auto* edit = new QLineEdit(page);
        keepInView(edit, characters);
        showStartWhenFilled(edit);
        return edit;
    };
    EditTitleV2 = field();
    EditArtistV2 = field();
    EditAlbumV2 = field();
    EditYearV2 = field(4);
    EditTrackV2 = field(5);   // "12/15"
    MemoCommentV2 = new QPlainTextEdit(page);
    MemoCommentV2->setMaximumHeight(48);
    // Tab leaves the comment as it leaves every other field.
    MemoCommentV2->setTabChangesFocus(true);
    cbGenreV2 = new QComboBox(page);
    cbGenreV2->setEditable(true);
    cbGenreV2->setInsertPolicy(QComboBox::NoInsert);
    EditEncoderV2 = field();
    EditUrlV2 = field();
    EditComposerV2 = field();
    EditOrigArtistV2 = field();

    sbtnTitleV2 = lockButton(page, QStringLiteral("Title"), lockHint(QStringLiteral("title")));
    sbtnArtistV2 = lockButton(page, QStringLiteral("Artist"), lockHint(QStringLiteral("artist")));
    sbtnAlbumV2 = lockButton(page, QStringLiteral("Album"), lockHint(QStringLiteral("album")));
    sbtnYearV2 = lockButton(page, QStringLiteral("Year"), lockHint(QStringLiteral("year")));
    sbtnTrackV2 = lockButton(page, QStringLiteral("Track"), lockHint(QStringLiteral("track")));
    sbtnCommentV2 = lockButton(page, QStringLiteral("Comment"), lockHint(QStringLiteral("comment")));
    sbtnGenreV2 = lockButton(page, QStringLiteral("Genre"), lockHint(QStringLiteral("genre")));
    sbtnEncoderV2 = lockButton(page, QStringLiteral("Encoder"), lockHint(QStringLiteral("software/hardware encoder")));
    sbtnUrlV2 = lockButton(page, QStringLiteral("URL"), lockHint(QStringLiteral("URL")));
    sbtnComposerV2 = lockButton(page, QStringLiteral("Composer"), lockHint(QStringLiteral("composer")));
    sbtnOrigArtistV2 = lockButton(page, QStringLiteral("Orig. Artist"), lockHint(QStringLiteral("original artist")));
    // Top to bottom, the main texts' column first, then the credits'.
    pairLocksWithFields({{EditTitleV2, sbtnTitleV2}, {EditArtistV2, sbtnArtistV2}, {EditAlbumV2, sbtnAlbumV2},
                         {EditYearV2, sbtnYearV2}, {EditTrackV2, sbtnTrackV2}, {cbGenreV2, sbtnGenreV2},
                         {MemoCommentV2, sbtnCommentV2}, {EditEncoderV2, sbtnEncoderV2}, {EditUrlV2, sbtnUrlV2},
                         {EditComposerV2, sbtnComposerV2}, {EditOrigArtistV2, sbtnOrigArtistV2}});

    // Two columns of fields: the tag's main texts at the left, the credits at the right.
    grid->addWidget(sbtnTitleV2, 0, 0);
    grid->addWidget(EditTitleV2, 0, 1, 1, 3);
    grid->addWidget(sbtnArtistV2, 1, 0);
    grid->addWidget(EditArtistV2, 1, 1, 1, 3);
    grid->addWidget(sbtnAlbumV2, 2, 0);
    grid->addWidget(EditAlbumV2, 2, 1, 1, 3);
    grid->addWidget(sbtnYearV2, 3, 0);
    grid->addWidget(EditYearV2, 3, 1);
    grid->addWidget(sbtnTrackV2, 3, 2);
    grid->addWidget(EditTrackV2, 3, 3);
    grid->addWidget(sbtnGenreV2, 4, 0);
    grid->addWidget(cbGenreV2, 4, 1, 1, 3);
    grid->addWidget(sbtnCommentV2, 5, 0, Qt::AlignTop);
    grid->addWidget(MemoCommentV2, 5, 1, 1, 3);
    grid->addWidget(sbtnEncoderV2, 0, 4);
    grid->addWidget(EditEncoderV2, 0, 5);
    grid->addWidget(sbtnUrlV2, 1, 4);
    grid->addWidget(EditUrlV2, 1, 5);
    grid->addWidget(sbtnComposerV2, 2, 4);
    grid->addWidget(EditComposerV2, 2, 5);
    grid->addWidget(sbtnOrigArtistV2, 3, 4);
    grid->addWidget(EditOrigArtistV2, 3, 5);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 2);
    return page;
}

QGroupBox* TFormMain::createTagLights()
{
    auto* box = new QGroupBox(PanelBottom);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(4);
    const QPixmap red = lightPixmap(QColor(210, 40, 40), false);
    const QPixmap green = lightPixmap(QColor(40, 190, 60), true);
    const auto light = [&](int row, const QString& caption, QLabel*& label, QLabel*& greenLight) {
        auto* redLight = new QLabel(box);
        redLight->setPixmap(red);
        greenLight = new QLabel(box);
        greenLight->setPixmap(green);
        label = new QLabel(caption, box);
        // Both lights share one cell, so the green one covers the red one when shown.
        grid->addWidget(redLight, row, 0);
        grid->addWidget(greenLight, row, 0);
        grid->addWidget(label, row, 1);
    };
    light(0, QStringLiteral("Tag ID3 V1.0"), lbTagV10, ImgLightGreenV10);
    light(1, QStringLiteral("Tag ID3 V1.1"), lbTagV11, ImgLightGreenV11);
    light(2, QStringLiteral("Tag ID3 V2.2"), lbTagV22, imgLightGreenV22);
    light(3, QStringLiteral("Tag ID3 V2.3"), lbTagV23, ImgLightGreenV23);
    light(4, QStringLiteral("Tag ID3 V2.4"), lbTagV24, ImgLightGreenV24);
    return box;
}

QGroupBox* TFormMain::createMpegInformation()
{
    auto* box = new QGroupBox(PanelBottom);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(1);
    const auto row = [&](int index, const QString& caption, QLabel*& value) {
        grid->addWidget(new QLabel(caption, box), index, 0);
        value = valueLabel(box);
        grid->addWidget(value, index, 1);
    };
    row(0, QStringLiteral("File Size:"), lbFileSize);
    row(1, QStringLiteral("Mpeg:"), lbFileVersion);
    row(2, QStringLiteral("Layer:"), lbFileLayer);
    row(3, QStringLiteral("Mode:"), lbFileMode);
    row(4, QStringLiteral("Freq:"), lbFileFrequency);
    row(5, QStringLiteral("Length:"), lbLength);
    row(6, QStringLiteral("KBps:"), lbFileBitrate);
    row(7, QStringLiteral("VBR:"), lbVbr);
    row(8, QStringLiteral("CRC:"), lbFileCRC);
    row(9, QStringLiteral("Copyright:"), lbFileCopyright);
    return box;
}

// No smaller than the layout needs for every field and caption: this desktop's fonts may need more
// room than the designed smallest size gives.
void TFormMain::growSmallestSize()
{
    setMinimumSize(minimumSize().expandedTo(minimumSizeHint()));
}

void TFormMain::createStatusBar()
{
    sbMain = statusBar();
    sbMain->setSizeGripEnabled(true);
    const std::array<int, 4> widths = {100, 130, 175, 275};
    for (std::size_t panelIndex = 0; panelIndex < widths.size(); ++panelIndex) {
        auto* label = new QLabel(sbMain);
        label->setFixedWidth(widths[panelIndex]);
        label->setFrameShape(QFrame::StyledPanel);
        sbMain->addWidget(label);
        sbMainPanels[panelIndex] = label;
    }
    // The file count whole up to five digits, and the version, however wide this desktop's font.
    for (const auto& [panelIndex, text] : {std::pair{0, QStringLiteral(" 99999 open file(s)")},
                                           std::pair{1, VersionText}}) {
        QLabel* label = sbMainPanels[panelIndex];
        label->setText(text);
        label->setFixedWidth(std::max(widths[panelIndex], label->sizeHint().width()));
        label->clear();
    }
}

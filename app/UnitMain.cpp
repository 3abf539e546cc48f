// The main window's life: start-up, show, close, destroy, exit, resize, hints and the command line.

#include "UnitMain.h"

#include "Application.h"
#include "FixedDialogSize.h"
#include "FolderTree.h"
#include "Hints.h"
#include "NameOrder.h"
#include "ProgramFolder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>

TFormMain* FormMain = nullptr;
QPointer<QWidget> HelpWindow;

namespace {

// Both genre boxes: an empty entry, then the genre names sorted by name, each entry carrying its
// genre number.
void fillGenres(QComboBox* box)
{
    std::vector<int> numbers(ID3GenreCount);
    for (int number = 0; number < ID3GenreCount; ++number)
        numbers[number] = number;
    const QCollator collator = nameOrder();
    std::stable_sort(numbers.begin(), numbers.end(), [&collator](int a, int b) {
        return collator.compare(QString::fromLatin1(ID3Genres[a]), QString::fromLatin1(ID3Genres[b])) < 0;
    });
    box->clear();
    box->addItem(QString(), 0);
    for (int number : numbers)
        box->addItem(QString::fromLatin1(ID3Genres[number]), number);
}

}  // namespace

TFormMain::TFormMain(const QStringList& CommandLine, QWidget* parent)
    : QMainWindow(parent), commandLine(CommandLine)
{
    FormMain = this;
    createLayout();
    createMenus();
    createPopupMenus();
    createToolBar();
    growSmallestSize();
    connectGrid();
    connectFieldEditing();
    for (int column = 0; column < GridColumnCount; ++column)
        givenColumnWidths[column] = GridColumns[column].width;
    // An error of the start-up steps (a damaged file on the command line) is shown like any other,
    // and the window is made all the same.
    deliverShowingErrors([this] {
        FormCreate();
        return true;
    });
}

TFormMain::~TFormMain()
{
    // The grid asks the form for its cells while the widgets are taken down, when the form's own
    // members are gone already.
    vtgrid->setModel(nullptr);
    FormDestroy();
    if (FormMain == this)
        FormMain = nullptr;
}

void TFormMain::FormCreate()
{
    FirstFolderChangePending = true;
    HelpFile = programFolder() + QStringLiteral("Corvane Help.chm");
    // Hints reach DisplayHint through event(): status tips of menu items and controls.
    sbMainPanels[3]->clear();
    PageControlTag->setCurrentWidget(TabSheetV1);

    ReadSettings();

    if (!StartPlayer()) {
        ToolBtnPlay->setEnabled(false);
        ToolBtnPause->setEnabled(false);
        ToolBtnStop->setEnabled(false);
    }

    if (OptionRememberSize)
        resize(FormWidth, FormHeight);
    if (OptionRememberPosition && !FormFullscreen)
        move(FormPosX, FormPosY);
    keepWithinScreen();
    if (OptionRememberPosition) {
        if (FormFullscreen)
            setWindowState(windowState() | Qt::WindowMaximized);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }

    FileList.clear();
    FieldClipboard.clear();

    fillGenres(cbGenreV1);
    fillGenres(cbGenreV2);

    panelFilePath->setText(QStringLiteral(" File path:"));
    for (QLabel* label : {lbFileSize, lbLength, lbFileMode, lbFileFrequency, lbFileBitrate, lbFileVersion, lbFileLayer,
                          lbFileCopyright, lbFileCRC, lbVbr})
        label->clear();

    SetTagLights(false, false, false, false, false);

    OpenCommandLine();
    // The tool bar needs no double buffering of its own: every widget paints off screen.
}

void TFormMain::FormShow()
{
    SetExplorerFull(OptionExplorerFull);
    if (OptionRememberColsWidth)
        ApplyColsWidth();
    setFolderPanelWidth(PanelTopLeftWidth);
    chkSubfolders->setChecked(RecurseFolderExplorer);
    if (QFileInfo(DefaultFolderOpen).isDir())
        VETreeMain->browseTo(DefaultFolderOpen);
    else
        // No start folder, so no first selection: the user's own first one loads.
        FirstFolderChangePending = false;
    sbMainPanels[1]->setText(VersionText);
}

void TFormMain::FormClose()
{
    WriteCloseSettings();
}

void TFormMain::FormDestroy()
{
    if (Player)
        UnloadPlayer();
    if (HelpWindow)
        HelpWindow->close();
    FileList.clear();
    FieldClipboard.clear();
}

void TFormMain::miExitClick()
{
    close();
}

void TFormMain::FormResize()
{
    vtgrid->viewport()->update();
}

void TFormMain::DisplayHint(const QString& hint)
{
    QLabel* panel = sbMainPanels[3];
    const QString text = GetLongHint(hint);
    panel->setText(text);
    // A hint wider than the panel ends in an ellipsis and is read whole as its tool tip, for as long
    // as it is shown.
    const int overflow = panel->sizeHint().width() - panel->width();
    if (overflow > 0) {
        const QFontMetrics metrics = panel->fontMetrics();
        panel->setText(metrics.elidedText(text, Qt::ElideRight, metrics.horizontalAdvance(text) - overflow));
    }
    panel->setToolTip(overflow > 0 ? text : QString());
}

void TFormMain::OpenCommandLine()
{
    if (commandLine.isEmpty())
        return;
    QStringList files;
    QStringList folders;
    for (const QString& argument : std::as_const(commandLine)) {
        const QFileInfo info(argument);
        if (info.isFile())
            files.append(info.absoluteFilePath());
        else if (info.isDir())
            folders.append(info.absoluteFilePath());
    }
    show();
    repaint();
    // Files and folders given here stay: the folder the tree shows at start does not replace them.
    // Its report is dropped, and with it the first report the tree's handler waits for.
    const bool treeSelectsFolder = folders.size() == 1 && files.isEmpty();
    if (!treeSelectsFolder && (!files.isEmpty() || !folders.isEmpty()) && VETreeMain->cancelPendingChange())
        FirstFolderChangePending = false;
    if (!files.isEmpty())
        OpenFiles(files, files.size() > 25);
    if (treeSelectsFolder) {
        VETreeMain->browseTo(folders.first());
    } else {
        for (const QString& folder : std::as_const(folders))
            OpenFolder(folder, true);
    }
    PageControlTagChange();
    if (OptionSortAfterOpen)
        SortFiles(3);
}

// The starting size and place, designed or remembered, within the free area of the screen the window
// was on (the one holding most of it, else the primary one), frame and all: a window taller than
// the screen hides its status bar, one placed beyond it all but its title bar. The frame the desktop draws is not known before
// the window is shown, so the style's own window frame, that of its sub-windows, stands for it.
void TFormMain::keepWithinScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    qint64 mostShared = 0;
    for (const QScreen* candidate : QGuiApplication::screens()) {
        const QRect shared = candidate->geometry().intersected(frameGeometry());
        if (qint64(shared.width()) * shared.height() > mostShared) {
            mostShared = qint64(shared.width()) * shared.height();
            screen = candidate;
        }
    }
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int border = 2 * style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QSize frameSize(border, border + style()->pixelMetric(QStyle::PM_TitleBarHeight));
    resize(size().boundedTo(area.size() - frameSize));
    const QSize outside = size() + frameSize;
    move(std::clamp(x(), area.left(), area.left() + area.width() - outside.width()),
         std::clamp(y(), area.top(), area.top() + area.height() - outside.height()));
}

int TFormMain::gridColumnWidth(int column) const
{
    return vtgrid->isColumnHidden(column) ? givenColumnWidths[column] : vtgrid->columnWidth(column);
}

void TFormMain::setGridColumnWidth(int column, int width)
{
    givenColumnWidths[column] = width;
    vtgrid->setColumnWidth(column, fittedColumnWidth(column, width));
}

// The version columns show "1.1" or "2.4" and their headers whole, however large this desktop's font.
int TFormMain::fittedColumnWidth(int column, int width) const
{
    if (column != 1 && column != 2)
        return width;
    const int text = textColumnWidth(vtgrid, column == 1 ? QStringLiteral("1.1") : QStringLiteral("2.4"));
    return std::max({width, text, vtgrid->header()->sectionSizeHint(column)});
}

// Splitter1 divides the folder panel from the rest in both layouts.
void TFormMain::setFolderPanelWidth(int width)
{
    // A stored width of any size: no widget is wider than this, and the sums below stay in range.
    width = std::clamp(width, 0, QWIDGETSIZE_MAX);
    folderPanelWidth = width;
    const QList<int> sizes = Splitter1->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), width + 1);
    Splitter1->setSizes({width, total - width});
}

bool TFormMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TFormMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The folder panel gets back the width the user gave it as soon as the window has room for it.
    setFolderPanelWidth(folderPanelWidth);
    FormResize();
}

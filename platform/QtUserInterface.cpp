#include "QtUserInterface.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

namespace ui {

namespace {

QMessageBox::Icon toQtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

QPointer<QWidget> batchWindow;

// Quits a loop when the watched window hides.
class QuitOnHide : public QObject {
public:
    explicit QuitOnHide(QEventLoop& loop) : loop(loop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            loop.quit();
        return false;
    }

private:
    QEventLoop& loop;
};

// To the right of the window, or to its left where the screen ends there; level with its top.
void placeBeside(QWidget& box, const QWidget& window)
{
    constexpr int gap = 8;
    const QRect frame = window.frameGeometry();
    const QRect screen = window.screen()->availableGeometry();
    int x = frame.right() + 1 + gap;
    if (x + box.frameGeometry().width() > screen.right() + 1)
        x = std::max(screen.left(), frame.left() - gap - box.frameGeometry().width());
    box.move(x, frame.top());
}

// Shows the box, not modal, beside the batch's window and waits until it is answered, or until
// the window hides (Cancel), which closes it.
void showBeside(QMessageBox& box, QWidget& window)
{
    QEventLoop answered;
    QObject::connect(&box, &QMessageBox::finished, &answered, &QEventLoop::quit);
    QuitOnHide windowHidden(answered);
    window.installEventFilter(&windowHidden);
    box.setWindowModality(Qt::NonModal);
    box.show();
    placeBeside(box, window);
    answered.exec();
    window.removeEventFilter(&windowHidden);
    if (box.isVisible())
        box.close();
}

QStringList filterList(const QString& filter)
{
    return filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
}

// Qt's own dialog, never the platform's: it gives a typed name its extension before it asks
// whether to replace the file of that name, where a platform's dialog would take the name as typed.
class FileDialog : public QFileDialog {
public:
    explicit FileDialog(const FileDialogRequest& request)
        : QFileDialog(QApplication::activeWindow(), request.title, request.initialFolder), request(request)
    {
        setOption(DontUseNativeDialog);
        // On a change of filter the dialog puts the filter's extension in place of whatever follows
        // the name's last dot ("Vol. 1" became "Vol.pls"). Only a name of the filters' kinds changes
        // its extension; the others get theirs on saving.
        types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!types || !name)
            return;
        // The index changes before the dialog takes the choice.
        connect(types, &QComboBox::currentIndexChanged, this, [this] { nameBeforeFilterChange = name->text(); });
        connect(types, &QComboBox::activated, this, [this] {
            if (acceptMode() == AcceptSave && !isOfFilterKind(nameBeforeFilterChange, this->request.filter))
                name->setText(nameBeforeFilterChange);
        });
    }

    // The chosen filter's place in the list; its name alone, the details hidden, would not find it.
    int filterIndex() const { return types ? std::max(0, types->currentIndex()) : 0; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (acceptMode() == AcceptSave && files.size() == 1 && !QFileInfo(files.first()).isDir()) {
            const QString named = withDefaultExtension(files.first(), request, filterIndex());
            if (named != files.first()) {
                selectFile(named);
                // The dialog leaves the name field as it is while it has the focus, as it has when
                // the user typed the name and pressed Enter.
                const QFileInfo file(named);
                if (name && name->hasFocus())
                    name->setText(QDir(file.absolutePath()) == directory() ? file.fileName() : named);
            }
        }
        QFileDialog::accept();
    }

private:
    const FileDialogRequest& request;
    QComboBox* types = nullptr;
    QLineEdit* name = nullptr;
    QString nameBeforeFilterChange;
};

FileDialogResult runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    FileDialog dialog(request);
    dialog.setAcceptMode(mode);
    // Each description already names its patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = filterList(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.files = dialog.selectedFiles();
    result.filterIndex = dialog.filterIndex();
    return result;
}

}  // namespace

void setBatchWindow(QWidget* window)
{
    batchWindow = window;
}

Answer QtUserInterface::messageBox(const QString& text, Icon icon, Buttons buttons, const QString& title)
{
    QWidget* batch = batchWindow && batchWindow->isVisible() ? batchWindow.data() : nullptr;
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons), batch ? batch : QApplication::activeWindow());
    if (batch)
        showBeside(box, *batch);
    else
        box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

FileDialogResult QtUserInterface::openFiles(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

FileDialogResult QtUserInterface::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<quint32> QtUserInterface::chooseColor(quint32 initial)
{
    const QColor chosen = QColorDialog::getColor(QColor::fromRgba(initial), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.rgba();
}

std::optional<QString> QtUserInterface::inputText(const QString& title, const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

}  // namespace ui

#include "QtUserInterface.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

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

QStringList filterList(const QString& filter)
{
    return filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
}

FileDialogResult runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder);
    dialog.setAcceptMode(mode);
    // Each description already names its patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = filterList(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);

    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted)
        return result;
    result.files = dialog.selectedFiles();
    result.filterIndex = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return result;
}

}  // namespace

Answer QtUserInterface::messageBox(const QString& text, Icon icon, Buttons buttons, const QString& title)
{
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons), QApplication::activeWindow());
    switch (box.exec()) {
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

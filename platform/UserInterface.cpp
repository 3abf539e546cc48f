#include "UserInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

namespace ui {

namespace {

UserInterface* installed = nullptr;

// The patterns of one filter, "Description (*.a *.b)": those in its last parentheses.
QStringList filterPatterns(const QString& filter)
{
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return {};
    return filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// "m3u" of a filter whose one pattern is "*.m3u"; empty for any other filter.
QString singleExtension(const QString& filter)
{
    const QStringList patterns = filterPatterns(filter);
    if (patterns.size() != 1 || !patterns.first().startsWith(QLatin1String("*.")))
        return {};
    const QString extension = patterns.first().mid(2);
    return extension.contains(QLatin1Char('*')) || extension.contains(QLatin1Char('?')) ? QString() : extension;
}

}  // namespace

bool isOfFilterKind(const QString& fileName, const QString& filter)
{
    const QString name = QFileInfo(fileName).fileName();
    const QStringList filters = filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    return std::any_of(filters.cbegin(), filters.cend(),
                       [&name](const QString& one) { return QDir::match(filterPatterns(one), name); });
}

QString withDefaultExtension(const QString& fileName, const FileDialogRequest& request, int filterIndex)
{
    if (isOfFilterKind(fileName, request.filter))
        return fileName;
    const QStringList filters = request.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    const QString own = request.extensionFromFilter ? singleExtension(filters.value(filterIndex)) : QString();
    const QString extension = own.isEmpty() ? request.defaultExtension : own;
    return extension.isEmpty() ? fileName : fileName + QLatin1Char('.') + extension;
}

UserInterface& userInterface()
{
    if (!installed)
        throw std::logic_error("No user interface installed");
    return *installed;
}

void setUserInterface(UserInterface* implementation)
{
    installed = implementation;
}

QString applicationTitle()
{
    return QStringLiteral("Corvane");
}

void showMessage(const QString& text, Icon icon, const QString& title)
{
    userInterface().messageBox(text, icon, Buttons::Ok, title);
}

bool askYesNo(const QString& text, Icon icon, const QString& title)
{
    return userInterface().messageBox(text, icon, Buttons::YesNo, title) == Answer::Yes;
}

}  // namespace ui

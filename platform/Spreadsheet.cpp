#include "Spreadsheet.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace {

// The limits of an Office Open XML sheet.
constexpr int maxRows = 1048576;
constexpr int maxColumns = 16384;

SpreadsheetError saveError(const QString& fileName, const QString& reason)
{
    return SpreadsheetError(QStringLiteral("Cannot save the workbook '%1': %2").arg(fileName, reason).toStdString());
}

SpreadsheetError saveError(const QString& fileName, lxw_error error)
{
    return saveError(fileName, QString::fromUtf8(lxw_strerror(error)));
}

// The workbook writer escapes control characters as "_x0001_", which spreadsheet programs read
// back as the character, but not these three: a zero would cut the text short, and XML cannot
// hold U+FFFE and U+FFFF, so the workbook would not open at all. A text's own "_x" before four
// hex digits has its underscore escaped, or it would be read as a character too; whatever
// follows the digits may itself become an escape beginning with "_".
QByteArray workbookText(const QString& text)
{
    static const QRegularExpression lookalike(QStringLiteral("_(?=x[0-9A-Fa-f]{4})"));
    const QString underscoresEscaped = QString(text).replace(lookalike, QStringLiteral("_x005F_"));
    QString escaped;
    for (const QChar c : underscoresEscaped) {
        if (c.unicode() == 0 || c.unicode() >= 0xFFFE)
            escaped += QStringLiteral("_x") + QString::number(c.unicode(), 16).rightJustified(4, '0').toUpper() + '_';
        else
            escaped += c;
    }
    return escaped.toUtf8();
}

// The writer creates the file at `path` itself; fileName is the name the user is told.
void writeWorkbook(const std::map<std::pair<int, int>, QString>& cells, const QString& path, const QString& fileName)
{
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    if (!workbook)
        throw saveError(fileName, LXW_ERROR_MEMORY_MALLOC_FAILED);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    // A text over the sheet's limit of characters stops the writing: it is refused, never cut.
    for (auto cell = cells.begin(); error == LXW_NO_ERROR && cell != cells.end(); ++cell) {
        const QByteArray text = workbookText(cell->second);
        error = worksheet_write_string(sheet, static_cast<lxw_row_t>(cell->first.first - 1),
                                       static_cast<lxw_col_t>(cell->first.second - 1), text.constData(), nullptr);
    }
    // Closing frees the workbook even when it cannot be written.
    const lxw_error closeError = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closeError;
    if (error != LXW_NO_ERROR)
        throw saveError(fileName, error);
}

}  // namespace

void SpreadsheetWorkBook::setCell(int row, int column, const QString& value)
{
    if (row < 1 || row > maxRows || column < 1 || column > maxColumns)
        throw SpreadsheetError(QStringLiteral("There is no cell at row %1, column %2.").arg(row).arg(column).toStdString());
    cells[{row, column}] = value;
}

// Built whole apart and then put in place in one step, so a workbook that cannot be written leaves
// the file of that name as it was, and no part of a workbook where there was none.
void SpreadsheetWorkBook::SaveAs(const QString& fileName) const
{
    // The workbook would be renamed over a device or a pipe as over any file.
    const QFileInfo existing(fileName);
    if (existing.exists() && !existing.isFile())
        throw saveError(fileName, QStringLiteral("It is not a regular file."));
    const QTemporaryDir buildFolder;
    if (!buildFolder.isValid())
        throw saveError(fileName, buildFolder.errorString());
    const QString built = buildFolder.filePath(QStringLiteral("workbook.xlsx"));
    writeWorkbook(cells, built, fileName);
    QFile source(built);
    const QByteArray bytes = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    if (source.error() != QFileDevice::NoError)
        throw saveError(fileName, source.errorString());
    QSaveFile target(fileName);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit())
        throw saveError(fileName, target.errorString());
}

SpreadsheetCell::SpreadsheetCell(SpreadsheetWorkBook& workBook, int row, int column)
    : workBook(workBook), row(row), column(column)
{
}

void SpreadsheetCell::setValue(const QString& value)
{
    workBook.setCell(row, column, value);
}

SpreadsheetWorkBook& SpreadsheetWorkBooks::add()
{
    application.checkRunning();
    application.workBooks.push_back(std::make_unique<SpreadsheetWorkBook>());
    application.active = application.workBooks.back().get();
    return *application.active;
}

SpreadsheetWorkBooks SpreadsheetApplication::WorkBooks()
{
    checkRunning();
    return SpreadsheetWorkBooks(*this);
}

SpreadsheetCell SpreadsheetApplication::Cells(int row, int column)
{
    return SpreadsheetCell(ActiveWorkBook(), row, column);
}

SpreadsheetWorkBook& SpreadsheetApplication::ActiveWorkBook()
{
    checkRunning();
    if (!active)
        throw SpreadsheetError("There is no active workbook.");
    return *active;
}

void SpreadsheetApplication::Quit() noexcept
{
    active = nullptr;
    workBooks.clear();
    quit = true;
}

void SpreadsheetApplication::checkRunning() const
{
    if (quit)
        throw SpreadsheetError("The spreadsheet application has quit.");
}

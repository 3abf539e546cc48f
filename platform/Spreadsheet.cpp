#include "Spreadsheet.h"

#include <QFile>
#include <xlsxwriter.h>

namespace {

// The limits of an Office Open XML sheet.
constexpr int maxRows = 1048576;
constexpr int maxColumns = 16384;

SpreadsheetError saveError(const QString& fileName, lxw_error error)
{
    return SpreadsheetError(QStringLiteral("Cannot save the workbook '%1': %2")
                                .arg(fileName, QString::fromUtf8(lxw_strerror(error)))
                                .toStdString());
}

// The workbook writer escapes control characters as "_x0001_", which spreadsheet programs read
// back as the character, but not these three: a zero would cut the text short, and XML cannot
// hold U+FFFE and U+FFFF, so the workbook would not open at all.
QByteArray workbookText(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        if (c.unicode() == 0 || c.unicode() >= 0xFFFE)
            escaped += QStringLiteral("_x") + QString::number(c.unicode(), 16).rightJustified(4, '0').toUpper() + '_';
        else
            escaped += c;
    }
    return escaped.toUtf8();
}

}  // namespace

void SpreadsheetWorkBook::setCell(int row, int column, const QString& value)
{
    if (row < 1 || row > maxRows || column < 1 || column > maxColumns)
        throw SpreadsheetError(QStringLiteral("There is no cell at row %1, column %2.").arg(row).arg(column).toStdString());
    cells[{row, column}] = value;
}

void SpreadsheetWorkBook::SaveAs(const QString& fileName) const
{
    const QByteArray path = QFile::encodeName(fileName);
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook)
        throw saveError(fileName, LXW_ERROR_MEMORY_MALLOC_FAILED);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
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

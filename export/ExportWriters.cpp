#include "ExportWriters.h"

#include "Spreadsheet.h"
#include "TextFile.h"
#include "UserInterface.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QScopeGuard>

namespace {

qsizetype columnCount(const ExportTable& table)
{
    return table.isEmpty() ? 0 : table.first().size();
}

bool openFile(TextFileWriter& file)
{
    if (file.open())
        return true;
    ui::showMessage(file.createErrorText());
    return false;
}

void writeLine(TextFileWriter& file, const QString& line)
{
    if (!file.writeLine(line))
        throw TextFileError(file.writeErrorText().toStdString());
}

void closeFile(TextFileWriter& file)
{
    if (!file.close())
        throw TextFileError(file.writeErrorText().toStdString());
}

// A cell that would end the field or the row early is quoted, so that every file stays one row.
QString csvCell(const QString& cell)
{
    static const QRegularExpression special(QStringLiteral("[;\"\r\n]"));
    if (!cell.contains(special))
        return cell + ';';
    return '"' + QString(cell).replace('"', QLatin1String("\"\"")) + QStringLiteral("\";");
}

// Tag texts come from files of any origin: they must not become markup of the page.
QString htmlCell(const QString& cell)
{
    if (cell.isEmpty())
        return QStringLiteral("  <td>&nbsp;</td>");
    QString text = cell;
    text.replace('&', QLatin1String("&amp;"))
        .replace('<', QLatin1String("&lt;"))
        .replace('>', QLatin1String("&gt;"))
        .replace('"', QLatin1String("&quot;"));
    return QStringLiteral("  <td>") + text + QStringLiteral("</td>");
}

QString htmlRowStart(qsizetype row)
{
    if (row == 0)
        return QStringLiteral("<tr class=tableHeader>");
    return row % 2 == 1 ? QStringLiteral("<tr class=darkBlueRow>") : QStringLiteral("<tr class=paleBlueRow>");
}

const QStringList htmlHead = {
    QStringLiteral("<html>"),
    QStringLiteral("<head>"),
    QStringLiteral("<meta http-equiv=content-type content=\"text/html; charset=utf-8\">"),
    QStringLiteral("<meta name=generator content=\"Corvane\">"),
    QStringLiteral("<title>Corvane Export</title>"),
    QStringLiteral("<style type=\"text/css\">"),
    QStringLiteral("body { background: #000080; font-family : Verdana, Arial, Helvetica; color: #FF9900 }"),
    QStringLiteral("td { font-size: xx-small; height: 10 }"),
    QStringLiteral(".paleBlueRow { color: white; background : #003399 }"),
    QStringLiteral(".darkBlueRow { color : white ; background : #000080 }"),
    QStringLiteral(".tableHeader { color : white ; background : #FF9900 }"),
    QStringLiteral("</style>"),
    QStringLiteral("</head>"),
    QStringLiteral("<body bgColor=\"#ffffff\">"),
    QStringLiteral("<table border=\"1\" cellpadding=\"1\" cellspacing=\"0\" bordercolor=\"#111111\" width=\"100%\">"),
};

}  // namespace

bool ExportToExcel(const ExportTable& table, const QString& fileName)
{
    SpreadsheetApplication excel;
    const auto quit = qScopeGuard([&excel] { excel.Quit(); });
    excel.WorkBooks().add();
    const qsizetype columns = columnCount(table);
    for (qsizetype r = 0; r < table.size(); ++r) {
        for (qsizetype c = 0; c < columns; ++c) {
            QCoreApplication::processEvents();
            excel.Cells(static_cast<int>(r + 1), static_cast<int>(c + 1)).setValue(table.at(r).value(c));
        }
    }
    excel.ActiveWorkBook().SaveAs(fileName);
    return true;
}

bool ExportToCsv(const ExportTable& table, const QString& fileName)
{
    TextFileWriter file(fileName);
    if (!openFile(file))
        return false;
    const qsizetype columns = columnCount(table);
    for (const QStringList& row : table) {
        QString line;
        for (qsizetype c = 0; c < columns; ++c)
            line += csvCell(row.value(c));
        writeLine(file, line);
        QCoreApplication::processEvents();
    }
    closeFile(file);
    return true;
}

bool ExportToHtml(const ExportTable& table, const QString& fileName)
{
    TextFileWriter file(fileName);
    if (!openFile(file))
        return false;
    for (const QString& line : htmlHead)
        writeLine(file, line);
    const qsizetype columns = columnCount(table);
    for (qsizetype r = 0; r < table.size(); ++r) {
        writeLine(file, htmlRowStart(r));
        for (qsizetype c = 0; c < columns; ++c)
            writeLine(file, htmlCell(table.at(r).value(c)));
        writeLine(file, QStringLiteral("</tr>"));
        QCoreApplication::processEvents();
    }
    for (const char* line : {"</table>", "</body>", "</html>"})
        writeLine(file, QString::fromLatin1(line));
    closeFile(file);
    return true;
}

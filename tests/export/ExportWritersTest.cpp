#include "ExportWriters.h"
#include "FileSizeLimit.h"
#include "QStringPrinter.h"
#include "ScriptedUserInterface.h"
#include "Spreadsheet.h"
#include "TempDir.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const ExportTable table = {
    {"Title", "Artist", "Comment"},
    {"a;b", "Band \"X\"", ""},
    {"<b>", "R&B", "x > y"},
    {"Third", "", "two\nlines"},
};

const QByteArray htmlHead =
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=content-type content=\"text/html; charset=utf-8\">\r\n"
    "<meta name=generator content=\"Corvane\">\r\n"
    "<title>Corvane Export</title>\r\n"
    "<style type=\"text/css\">\r\n"
    "body { background: #000080; font-family : Verdana, Arial, Helvetica; color: #FF9900 }\r\n"
    "td { font-size: xx-small; height: 10 }\r\n"
    ".paleBlueRow { color: white; background : #003399 }\r\n"
    ".darkBlueRow { color : white ; background : #000080 }\r\n"
    ".tableHeader { color : white ; background : #FF9900 }\r\n"
    "</style>\r\n"
    "</head>\r\n"
    "<body bgColor=\"#ffffff\">\r\n"
    "<table border=\"1\" cellpadding=\"1\" cellspacing=\"0\" bordercolor=\"#111111\" width=\"100%\">\r\n";

const QByteArray htmlFoot = "</table>\r\n</body>\r\n</html>\r\n";

std::string runPython(const char* script, const QString& fileName)
{
    QProcess python;
    python.start("/usr/bin/python3", {"-c", script, fileName});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return "python3 failed: " + python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed().toStdString();
}

// Every cell of the first sheet as openpyxl reads it: JSON rows, null for an empty cell.
// The system's Python: the Debian package installs openpyxl for it alone.
std::string readWorkbook(const QString& fileName)
{
    return runPython("import json, sys, openpyxl\n"
                     "with open(sys.argv[1], 'rb') as f:\n"
                     "    sheet = openpyxl.load_workbook(f).worksheets[0]\n"
                     "rows = [[c.value for c in row] for row in sheet.iter_rows()]\n"
                     "print(json.dumps(rows, ensure_ascii=False, separators=(',', ':')))\n",
                     fileName);
}

// The workbook's texts in the order first written, each "_xHHHH_" read as U+HHHH, as spreadsheet
// programs read them (openpyxl reads only "_x005F_"): a JSON list.
std::string readTexts(const QString& fileName)
{
    return runPython("import json, re, sys, zipfile\n"
                     "xml = zipfile.ZipFile(sys.argv[1]).read('xl/sharedStrings.xml').decode()\n"
                     "read = [re.sub('_x([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), t)\n"
                     "        for t in re.findall('<t[^>]*>([^<]*)</t>', xml)]\n"
                     "print(json.dumps(read, ensure_ascii=False, separators=(',', ':')))\n",
                     fileName);
}

}  // namespace

TEST(ExportToCsv, CellsEndWithSemicolonsAndACellWithASemicolonQuoteOrLineBreakIsQuoted)
{
    TempDir dir;
    const QString file = dir.filePath("list.txt");
    ASSERT_TRUE(ExportToCsv(table, file));
    EXPECT_EQ(readAll(file),
              "Title;Artist;Comment;\r\n"
              "\"a;b\";\"Band \"\"X\"\"\";;\r\n"
              "<b>;R&B;x > y;\r\n"
              "Third;;\"two\nlines\";\r\n");
}

TEST(ExportToCsv, OnlyTheHeaderWhenNoFileIsOpen)
{
    TempDir dir;
    const QString file = dir.filePath("list.txt");
    ASSERT_TRUE(ExportToCsv({{"File Name", "Length"}}, file));
    EXPECT_EQ(readAll(file), "File Name;Length;\r\n");
}

TEST(ExportToCsv, TextsAreWrittenInUtf8)
{
    TempDir dir;
    const QString file = dir.filePath("list.txt");
    ASSERT_TRUE(ExportToCsv({{QString::fromUtf8("Bj\xc3\xb6rk \xe2\x82\xac")}}, file));
    EXPECT_EQ(readAll(file), "Bj\xc3\xb6rk \xe2\x82\xac;\r\n");
}

TEST(ExportToCsv, AFileThatCannotBeCreatedGivesFalseAndIsTold)
{
    ScriptedUserInterface script;
    TempDir dir;
    const QString pipe = dir.filePath("pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(ExportToCsv(table, dir.filePath("missing/list.txt")));
    EXPECT_FALSE(ExportToCsv(table, pipe));
    EXPECT_EQ(script.texts(), QStringList({"Cannot create file 'list.txt'. No such file or directory",
                                           "Cannot create file 'pipe.txt'. It is not a regular file."}));
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
}

TEST(ExportWriters, AWriteErrorIsThrownWithItsReasonAndTheEarlierFileStays)
{
    TempDir dir;
    const QString earlier = dir.write("old.csv", "earlier");
    for (const auto writer : {ExportToCsv, ExportToHtml}) {
        const FileSizeLimit limit;
        std::string thrown;
        try {
            writer(table, earlier);
        } catch (const TextFileError& error) {
            thrown = error.what();
        }
        EXPECT_EQ(thrown, "Cannot write file 'old.csv'. File too large");
    }
    EXPECT_EQ(readAll(earlier), "earlier");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.csv"}));
}

TEST(ExportToHtml, RowsAlternateClassesAndEmptyCellsHoldASpace)
{
    TempDir dir;
    const QString file = dir.filePath("list.htm");
    ASSERT_TRUE(ExportToHtml(table, file));
    EXPECT_EQ(readAll(file), htmlHead +
                                 "<tr class=tableHeader>\r\n"
                                 "  <td>Title</td>\r\n"
                                 "  <td>Artist</td>\r\n"
                                 "  <td>Comment</td>\r\n"
                                 "</tr>\r\n"
                                 "<tr class=darkBlueRow>\r\n"
                                 "  <td>a;b</td>\r\n"
                                 "  <td>Band &quot;X&quot;</td>\r\n"
                                 "  <td>&nbsp;</td>\r\n"
                                 "</tr>\r\n"
                                 "<tr class=paleBlueRow>\r\n"
                                 "  <td>&lt;b&gt;</td>\r\n"
                                 "  <td>R&amp;B</td>\r\n"
                                 "  <td>x &gt; y</td>\r\n"
                                 "</tr>\r\n"
                                 "<tr class=darkBlueRow>\r\n"
                                 "  <td>Third</td>\r\n"
                                 "  <td>&nbsp;</td>\r\n"
                                 "  <td>two\nlines</td>\r\n"
                                 "</tr>\r\n" +
                                 htmlFoot);
}

TEST(ExportToHtml, OnlyTheHeaderRowWhenNoFileIsOpen)
{
    TempDir dir;
    const QString file = dir.filePath("list.htm");
    ASSERT_TRUE(ExportToHtml({{"Length"}}, file));
    EXPECT_EQ(readAll(file), htmlHead + "<tr class=tableHeader>\r\n  <td>Length</td>\r\n</tr>\r\n" + htmlFoot);
}

TEST(ExportToHtml, AFileThatCannotBeCreatedGivesFalseAndIsTold)
{
    ScriptedUserInterface script;
    TempDir dir;
    EXPECT_FALSE(ExportToHtml(table, dir.filePath("missing/list.htm")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing/list.htm")));
    EXPECT_EQ(script.texts(), QStringList({"Cannot create file 'list.htm'. No such file or directory"}));
}

TEST(ExportToExcel, EveryCellReadsBackFromTheWorkbook)
{
    TempDir dir;
    const QString file = dir.filePath("list.xls");
    ASSERT_TRUE(ExportToExcel(table, file));
    EXPECT_EQ(readWorkbook(file), R"([["Title","Artist","Comment"],["a;b","Band \"X\"",null],)"
                                  R"(["<b>","R&B","x > y"],["Third",null,"two\nlines"]])");
}

TEST(ExportToExcel, TextsKeepEveryCharacterAndNumbersStayTexts)
{
    TempDir dir;
    const QString file = dir.filePath("list.xlsx");
    const QString text = QString::fromUtf8("Bj\xc3\xb6rk \xe2\x82\xac \xe6\x97\xa5");
    ASSERT_TRUE(ExportToExcel({{text, "0042"}}, file));
    EXPECT_EQ(readWorkbook(file), "[[\"" + text.toStdString() + "\",\"0042\"]]");
}

TEST(ExportToExcel, CharactersXmlCannotHoldAreEscapedAndTheWorkbookOpens)
{
    TempDir dir;
    const QString file = dir.filePath("list.xls");
    const QString text = QStringLiteral("a") + QChar(0xFFFE) + "b" + QChar(0xFFFF) + "c" + QChar(0) + "d";
    ASSERT_TRUE(ExportToExcel({{text, "\x01"}, {"next", "row"}}, file));
    EXPECT_EQ(readWorkbook(file), R"([["a_xFFFE_b_xFFFF_c_x0000_d","_x0001_"],["next","row"]])");
}

TEST(ExportToExcel, TextsThatLookLikeEscapesReadBackAsTheyAre)
{
    TempDir dir;
    const QString file = dir.filePath("list.xls");
    ASSERT_TRUE(ExportToExcel({{"_x000D_", "a_x0041_b", "_x0041\r", "_x12_", "x\r"}}, file));
    EXPECT_EQ(readTexts(file), R"(["_x000D_","a_x0041_b","_x0041\r","_x12_","x\r"])");
}

TEST(ExportToExcel, AWorkbookThatCannotBeSavedThrows)
{
    TempDir dir;
    const QString pipe = dir.filePath("pipe.xls");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_THROW(ExportToExcel(table, dir.filePath("missing/list.xls")), SpreadsheetError);
    EXPECT_THROW(ExportToExcel(table, pipe), SpreadsheetError);
    EXPECT_FALSE(QFileInfo(pipe).isFile());
}

TEST(ExportToExcel, ATextOverTheCellLimitFailsTheSaveAndLeavesTheNameAsItWas)
{
    TempDir dir;
    const QString earlier = dir.write("earlier.xls", "earlier workbook");
    const ExportTable overLong = {{"Comment"}, {QString(32768, 'c')}};
    EXPECT_THROW(ExportToExcel(overLong, earlier), SpreadsheetError);
    EXPECT_THROW(ExportToExcel(overLong, dir.filePath("new.xls")), SpreadsheetError);
    EXPECT_EQ(readAll(earlier), "earlier workbook");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"earlier.xls"}));
}

TEST(Spreadsheet, CallsWithoutAnActiveWorkbookOrAfterQuitFail)
{
    SpreadsheetApplication excel;
    EXPECT_THROW(excel.Cells(1, 1), SpreadsheetError);
    EXPECT_THROW(excel.ActiveWorkBook(), SpreadsheetError);
    excel.WorkBooks().add();
    EXPECT_THROW(excel.Cells(0, 1).setValue("x"), SpreadsheetError);
    EXPECT_NO_THROW(excel.Cells(1, 1).setValue("x"));
    excel.Quit();
    EXPECT_THROW(excel.WorkBooks(), SpreadsheetError);
    EXPECT_THROW(excel.Cells(1, 1), SpreadsheetError);
}

TEST(Spreadsheet, TheLastAddedWorkbookIsTheActiveOne)
{
    TempDir dir;
    SpreadsheetApplication excel;
    excel.WorkBooks().add();
    excel.Cells(1, 1).setValue("first");
    excel.WorkBooks().add();
    excel.Cells(2, 3).setValue("second");
    excel.ActiveWorkBook().SaveAs(dir.filePath("book.xlsx"));
    EXPECT_EQ(readWorkbook(dir.filePath("book.xlsx")), "[[null,null,null],[null,null,\"second\"]]");
}

#pragma once

// A small spreadsheet application driven the way an automation client drives one: open the
// workbook collection and add a workbook, set cells of the active sheet by 1-based row and
// column, save the active workbook, quit. Workbooks live in memory until they are saved as
// Office Open XML.

#include <QString>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

// A failed call: no active workbook, a cell outside the sheet, a workbook that cannot be saved.
class SpreadsheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SpreadsheetWorkBook {
public:
    // Writes the workbook whatever the extension of fileName. An existing file is replaced only by
    // a whole workbook, and nothing but a regular file is; a text over the sheet's limit of 32,767
    // characters fails the save.
    void SaveAs(const QString& fileName) const;

    void setCell(int row, int column, const QString& value);

private:
    std::map<std::pair<int, int>, QString> cells;   // 1-based (row, column)
};

class SpreadsheetCell {
public:
    SpreadsheetCell(SpreadsheetWorkBook& workBook, int row, int column);
    void setValue(const QString& value);

private:
    SpreadsheetWorkBook& workBook;
    int row;
    int column;
};

class SpreadsheetApplication;

class SpreadsheetWorkBooks {
public:
    explicit SpreadsheetWorkBooks(SpreadsheetApplication& application) : application(application) {}
    // Adds an empty workbook and makes it the active one.
    SpreadsheetWorkBook& add();

private:
    SpreadsheetApplication& application;
};

class SpreadsheetApplication {
public:
    SpreadsheetWorkBooks WorkBooks();
    // A cell of the active workbook's sheet.
    SpreadsheetCell Cells(int row, int column);
    SpreadsheetWorkBook& ActiveWorkBook();
    // Drops every workbook; the application answers no further call.
    void Quit() noexcept;

private:
    friend class SpreadsheetWorkBooks;
    std::vector<std::unique_ptr<SpreadsheetWorkBook>> workBooks;
    SpreadsheetWorkBook* active = nullptr;
    bool quit = false;

    void checkRunning() const;
};

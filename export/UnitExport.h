#pragma once

// The export dialog: the user picks the fields and their order and a target format; Export
// writes every open file's fields to a workbook, a ';'-separated text file or an HTML page.

#include "ExportTable.h"
#include "UserInterface.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class ExportFieldList;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class TMpegFile;

// What the dialog reads of the main window.
// Rows are asked for one at a time because events are processed between them.
struct ExportSource {
    std::function<int()> rowCount;
    std::function<const TMpegFile&(int row)> file;   // the file of a grid row
    std::function<bool()> id3v1PageActive;           // else the ID3v2 page is active
};

class TFormExport : public QDialog {
    Q_OBJECT
public:
    // exportFields: the main window's "Export Fields" setting, read now and written at every close.
    TFormExport(QString& exportFields, ExportSource source, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QRadioButton* rbExcel;
    QRadioButton* rbCSV;
    QRadioButton* rbHtml;
    QLabel* Label1;
    QLabel* Label2;
    ExportFieldList* lbAvailable;
    ExportFieldList* lbExport;
    QPushButton* btnRight;
    QPushButton* btnLeft;
    QPushButton* btnAllRight;
    QPushButton* btnAllLeft;
    QPushButton* btnExport;
    QPushButton* btnClose;
    ui::FileDialogRequest SaveDialogExport;

    void FormCreate();
    void FormClose();
    void btnExportClick();
    void btnCloseClick();

    void MoveSelectedItems(QListWidget* From, QListWidget* To, int Index);
    void MoveAllItems(QListWidget* From, QListWidget* To);
    void MoveWithinList(QListWidget* List, int Index);

    // The table of every grid row for the fields of lbExport, tag texts of the active page.
    ExportTable BuildExportTable();

protected:
    // Every way of closing (Close, Esc, the close box) ends here.
    void done(int result) override;

private:
    void createLayout();
    void listDropped(ExportFieldList* target, ExportFieldList* partner, const QString& sourceName, int index);

    QString& exportFields;
    ExportSource source;
};

// The dialog, made on its first use and kept.
extern QPointer<TFormExport> FormExport;

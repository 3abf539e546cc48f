#include "UnitExport.h"

#include "EnterPresses.h"
#include "ExportFieldList.h"
#include "ExportWriters.h"
#include "Registry.h"
#include "WaitCursor.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QPointer<TFormExport> FormExport;

namespace {

QPushButton* moveButton(const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    // Arrows say nothing to a screen reader.
    button->setAccessibleName(hint);
    button->setAutoDefault(false);
    pressOnEnter(button, button);
    return button;
}

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList selectedTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected())
            texts << list->item(i)->text();
    }
    return texts;
}

// Entries of the lists are found ignoring case, as every lookup in the program's dialog lists.
int firstRowOf(const QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void deleteFirst(QListWidget* list, const QString& text)
{
    const int row = firstRowOf(list, text);
    if (row >= 0)
        delete list->takeItem(row);
}

// Index -1 or past the last item appends.
void insertAt(QListWidget* list, int index, const QString& text)
{
    if (index < 0 || index >= list->count())
        list->addItem(text);
    else
        list->insertItem(index, text);
}

}  // namespace

TFormExport::TFormExport(QString& exportFields, ExportSource source, QWidget* parent)
    : QDialog(parent), exportFields(exportFields), source(std::move(source))
{
    setWindowTitle(QStringLiteral("Export File List"));
    createLayout();
    SaveDialogExport.title = QStringLiteral("Save exported file list");

    connect(btnRight, &QPushButton::clicked, this, [this] { MoveSelectedItems(lbAvailable, lbExport, -1); });
    connect(lbAvailable, &ExportFieldList::listDoubleClicked, this, [this] { MoveSelectedItems(lbAvailable, lbExport, -1); });
    connect(btnLeft, &QPushButton::clicked, this, [this] { MoveSelectedItems(lbExport, lbAvailable, -1); });
    connect(lbExport, &ExportFieldList::listDoubleClicked, this, [this] { MoveSelectedItems(lbExport, lbAvailable, -1); });
    connect(btnAllRight, &QPushButton::clicked, this, [this] { MoveAllItems(lbAvailable, lbExport); });
    connect(btnAllLeft, &QPushButton::clicked, this, [this] { MoveAllItems(lbExport, lbAvailable); });
    connect(lbExport, &ExportFieldList::fieldsDropped, this,
            [this](const QString& sourceName, int index) { listDropped(lbExport, lbAvailable, sourceName, index); });
    connect(lbAvailable, &ExportFieldList::fieldsDropped, this,
            [this](const QString& sourceName, int index) { listDropped(lbAvailable, lbExport, sourceName, index); });
    connect(btnExport, &QPushButton::clicked, this, &TFormExport::btnExportClick);
    connect(btnClose, &QPushButton::clicked, this, &TFormExport::btnCloseClick);

    FormCreate();
}

void TFormExport::createLayout()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Export to"), this);
    rbExcel = new QRadioButton(QStringLiteral("Excel"), GroupBox1);
    rbCSV = new QRadioButton(QStringLiteral("CSV"), GroupBox1);
    rbHtml = new QRadioButton(QStringLiteral("Html"), GroupBox1);
    rbHtml->setChecked(true);
    auto* formats = new QHBoxLayout(GroupBox1);
    formats->addWidget(rbExcel);
    formats->addWidget(rbCSV);
    formats->addWidget(rbHtml);

    Label1 = new QLabel(QStringLiteral("Available fields"), this);
    Label2 = new QLabel(QStringLiteral("Fields to export"), this);
    lbAvailable = new ExportFieldList(this);
    lbAvailable->setObjectName(QStringLiteral("lbAvailable"));
    lbExport = new ExportFieldList(this);
    lbExport->setObjectName(QStringLiteral("lbExport"));
    lbAvailable->setAccessibleName(Label1->text());
    lbExport->setAccessibleName(Label2->text());

    btnRight = moveButton(QStringLiteral(">"), QStringLiteral("Move right"), this);
    btnLeft = moveButton(QStringLiteral("<"), QStringLiteral("Move left"), this);
    btnAllRight = moveButton(QStringLiteral(">>"), QStringLiteral("Move all right"), this);
    btnAllLeft = moveButton(QStringLiteral("<<"), QStringLiteral("Move all left"), this);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* button : {btnRight, btnLeft, btnAllRight, btnAllLeft})
        moves->addWidget(button);
    moves->addStretch();

    auto* lists = new QGridLayout;
    lists->addWidget(Label1, 0, 0);
    lists->addWidget(Label2, 0, 2);
    lists->addWidget(lbAvailable, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(lbExport, 1, 2);

    btnExport = new QPushButton(QStringLiteral("Export"), this);
    btnExport->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setAutoDefault(false);
    for (QPushButton* button : {btnExport, btnClose})
        pressOnEnter(button, button);
    auto* commands = new QHBoxLayout;
    commands->addStretch();
    commands->addWidget(btnExport);
    commands->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(lists);
    layout->addLayout(commands);
}

void TFormExport::FormCreate()
{
    lbAvailable->addItems(ExportFieldNames);
    QStringList parts = exportFields.split(';');
    if (parts.last().isEmpty())
        parts.removeLast();
    for (const QString& part : parts) {
        lbExport->addItem(part);
        deleteFirst(lbAvailable, part);
    }
}

void TFormExport::FormClose()
{
    Registry registry;
    if (!registry.isOpen())
        return;
    exportFields = itemTexts(lbExport).join(';');
    registry.writeString(QStringLiteral("Export Fields"), exportFields);
}

void TFormExport::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFormExport::btnCloseClick()
{
    close();
}

void TFormExport::MoveSelectedItems(QListWidget* From, QListWidget* To, int Index)
{
    const QStringList moving = selectedTexts(From);
    for (auto item = moving.crbegin(); item != moving.crend(); ++item) {
        insertAt(To, Index, *item);
        deleteFirst(From, *item);
    }
}

void TFormExport::MoveAllItems(QListWidget* From, QListWidget* To)
{
    while (From->count() > 0)
        To->addItem(From->takeItem(0));
}

void TFormExport::MoveWithinList(QListWidget* List, int Index)
{
    for (const QString& text : selectedTexts(List)) {
        const int old = firstRowOf(List, text);
        insertAt(List, Index, text);
        const bool copyBefore = Index >= 0 && old > Index;
        delete List->takeItem(copyBefore ? old + 1 : old);
    }
}

void TFormExport::listDropped(ExportFieldList* target, ExportFieldList* partner, const QString& sourceName, int index)
{
    if (sourceName == target->objectName())
        MoveWithinList(target, index);
    else
        MoveSelectedItems(partner, target, index);
}

ExportTable TFormExport::BuildExportTable()
{
    const QStringList fields = itemTexts(lbExport);
    const bool id3v1Page = source.id3v1PageActive();
    ExportTable table{fields};
    for (int row = 0; row < source.rowCount(); ++row) {
        QCoreApplication::processEvents();
        if (row < source.rowCount())
            table << exportRow(source.file(row), id3v1Page, fields);
    }
    return table;
}

void TFormExport::btnExportClick()
{
    if (lbExport->count() == 0) {
        ui::showMessage(QStringLiteral("You must select at least one field to export."));
        return;
    }
    ExportTable table;
    // The hourglass while the table is built and written; the save dialog between shows the usual cursor.
    {
        const WaitCursor busy;
        table = BuildExportTable();
    }
    if (rbExcel->isChecked()) {
        SaveDialogExport.filter = QStringLiteral("Excel files (*.xls) (*.xls);;All files (*.*) (*.*)");
        SaveDialogExport.defaultExtension = QStringLiteral("xls");
    } else if (rbCSV->isChecked()) {
        SaveDialogExport.filter = QStringLiteral("CSV files (*.csv) (*.csv);;All files (*.*) (*.*)");
        SaveDialogExport.defaultExtension = QStringLiteral("txt");
    } else {
        SaveDialogExport.filter = QStringLiteral("Html files (*.htm) (*.htm*);;All files (*.*) (*.*)");
        SaveDialogExport.defaultExtension = QStringLiteral("htm");
    }
    const ui::FileDialogResult chosen = ui::userInterface().saveFile(SaveDialogExport);
    if (chosen.files.isEmpty())
        return;
    const QString fileName = chosen.files.first();
    SaveDialogExport.fileName = fileName;
    SaveDialogExport.initialFolder = QFileInfo(fileName).path();
    const WaitCursor busy;
    if (rbExcel->isChecked())
        ExportToExcel(table, fileName);
    else if (rbCSV->isChecked())
        ExportToCsv(table, fileName);
    else
        ExportToHtml(table, fileName);
}

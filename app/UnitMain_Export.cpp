// The export command: the export dialog, made on first use and kept, reads every grid row.

#include "UnitMain.h"

#include "UnitExport.h"

#include <QTabWidget>

void TFormMain::miExportFileListClick()
{
    if (!FormExport) {
        ExportSource source{
            [this] { return static_cast<int>(FileList.size()); },
            [this](int row) -> const TMpegFile& { return *FileList[static_cast<std::size_t>(row)]; },
            [this] { return PageControlTag->currentWidget() == TabSheetV1; },
        };
        FormExport = new TFormExport(ExportFields, std::move(source), this);
    }
    FormExport->exec();
}

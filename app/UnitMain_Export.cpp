// The export command: the export dialog, made on first use and kept, reads every grid row.

#include "UnitMain.h"

#include "UnitExport.h"

void TFormMain::miExportFileListClick()
{
    if (!FormExport) {
        ExportSource source{
            [this] { return static_cast<int>(FileList.size()); },
            [this](int row) -> const TMpegFile& { return *FileList[static_cast<std::size_t>(row)]; },
            [this] { return activePage() == TagPage::V1; },
        };
        FormExport = new TFormExport(ExportFields, std::move(source), this);
    }
    FormExport->exec();
}

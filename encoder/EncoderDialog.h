#pragma once

#include "EncoderRun.h"
#include "LameCommand.h"

#include <QDialog>
#include <functional>

class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QToolButton;

// The main window's folder settings a dialog works with.
struct EncoderFolders {
    QString output;   // the output folder preset, and where browsing for another starts
    QString open;     // where the input file dialog opens
};
// Read at each use, so a change in the options reaches a dialog made before it.
using EncoderFolderSource = std::function<EncoderFolders()>;

// What the encode and decode dialogs share: the output folder, the Close button and the run of
// the encoder over the chosen files.
class EncoderDialog : public QDialog {
    Q_OBJECT

public:
    QGroupBox* gbOutput;
    QLineEdit* EditOutput;
    QToolButton* sbtnBrowse;
    QPushButton* btnClose;

    void sbtnBrowseClick();

protected:
    struct Texts {
        QString browseHint;
        QString openTitle;
        QString openFilter;
        LameRunTexts run;
    };
    using CommandBuilder = std::function<LameCommand(const QString& input, const QString& outputFolder)>;

    EncoderDialog(EncoderFolderSource folders, const Texts& texts, QWidget* parent);

    // Checks the output folder, lets the user choose the input files, then runs the encoder on each.
    void convertFiles(const CommandBuilder& commandFor);
    // The run button and Close at the dialog's foot, in this order for Tab too.
    QHBoxLayout* commandRow(QPushButton* run);

private:
    const EncoderFolderSource folders;
    const Texts texts;
};

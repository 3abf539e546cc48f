#pragma once

// The one seam through which the program talks to the user: message boxes, questions and the
// standard dialogs. The program installs the widget implementation; tests install a scripted one.
// Needs Qt Core only, so the tag library can report through it.

#include <QString>
#include <QStringList>
#include <optional>

namespace ui {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Filters in Qt's form: "Description (pattern);;Description (pattern)". The dialog shows the
// descriptions alone, so a description that names its patterns keeps them.
struct FileDialogRequest {
    QString title;
    QString filter;
    int filterIndex = 0;        // zero-based index of the filter chosen first
    QString initialFolder;
    QString fileName;           // proposed name (save dialogs)
    QString defaultExtension;   // without the dot; see withDefaultExtension
    bool extensionFromFilter = false;   // a chosen filter of one extension gives its own instead
    bool multiSelect = false;   // open dialogs only
};

struct FileDialogResult {
    QStringList files;          // empty when the dialog was cancelled
    int filterIndex = 0;        // zero-based index of the filter in use when the dialog closed
};

// Whether the name is of one of the filters' kinds: it matches one of their patterns, letter case aside.
bool isOfFilterKind(const QString& fileName, const QString& filter);

// The name a save dialog gives back for the one typed: as typed when it is of one of the filters'
// kinds, otherwise with the default extension added, even after a dot ("R.E.M. - Monster" is of
// no kind). filterIndex: the filter chosen.
QString withDefaultExtension(const QString& fileName, const FileDialogRequest& request, int filterIndex);

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual Answer messageBox(const QString& text, Icon icon, Buttons buttons, const QString& title) = 0;
    virtual FileDialogResult openFiles(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFile(const FileDialogRequest& request) = 0;
    // Colours travel as 0xAARRGGBB so the seam needs no GUI types.
    virtual std::optional<quint32> chooseColor(quint32 initial) = 0;
    virtual std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& initial) = 0;
};

// The installed implementation; the caller keeps ownership of what it installs.
UserInterface& userInterface();
void setUserInterface(UserInterface* implementation);

// The application title, used as the caption of message boxes unless a caller names another.
QString applicationTitle();

// An OK box with the given icon.
void showMessage(const QString& text, Icon icon = Icon::Error, const QString& title = applicationTitle());
// A Yes/No question; true on Yes.
bool askYesNo(const QString& text, Icon icon = Icon::Question, const QString& title = applicationTitle());

}  // namespace ui

#pragma once

// The modal dialog that asks for one folder. Created per use:
//
//     TFormBrowseFolder dialog(parent);
//     dialog.SetSubfolders(...);            // or dialog.chkSubfolders->hide()
//     dialog.SetMessage("Select a folder to open.");
//     dialog.InitialFolder = folder;
//     if (dialog.exec() == QDialog::Accepted) use(dialog.GetFolder(), dialog.GetSubfolders());

#include <QDialog>

class FolderTree;
class QCheckBox;
class QLabel;
class QPushButton;

class TFormBrowseFolder : public QDialog {
    Q_OBJECT
public:
    explicit TFormBrowseFolder(QWidget* parent = nullptr);

    // ---- components
    QLabel* lblMsg;
    FolderTree* VETree;
    QCheckBox* chkSubfolders;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // ---- fields
    QString InitialFolder;   // selected when the dialog is shown

    void SetMessage(const QString& text);
    bool GetSubfolders() const;
    void SetSubfolders(bool subfolders);
    QString GetFolder() const;
    void SelectFolder(const QString& path);

    // ---- handlers
    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
};

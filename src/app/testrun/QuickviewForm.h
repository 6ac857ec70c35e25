#pragma once
// The quick-view window, "Quick View": browse folders of part programs and see each one
// drawn in the preview as soon as it is selected, without opening it (a quiet run of at
// most the seconds to wait). A double click or "Open In Editor" opens it in a page.
// Made at start-up, shown (modeless) by the main window's Quick View action; Close and
// Escape only hide it.

#include "app/testrun/QuickViewRules.h"

#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QSortFilterProxyModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSpinBox;
class QTreeView;
class TFileListFilter;
class TMainForm;

class TFQuickview : public QWidget {
public:
    explicit TFQuickview(TMainForm& main);
    // Clears FQuickview when it points here.
    ~TFQuickview() override;

    // The folder the tree and the file list show (the current folder at first).
    void SetFolder(const QString& folder);
    QString Folder() const { return FFolder; }
    // The file the list's current entry names; empty when none.
    QString SelectedFile() const;
    // Selects the entry of `fileName` in the file list, as a click does.
    void SelectFile(const QString& fileName);

    // The selection changed: an existing file runs as a quick view for the seconds to
    // wait; inside a quick view the new one runs once that one has returned.
    void FileListBox1Change();
    // Double click and Open In Editor: the page of the selected file, opened or brought
    // forward; refused while a run goes.
    void FileListBox1DblClick();
    void BitBtn1Click() { FileListBox1DblClick(); }
    // The field's masks become the file list's.
    void Edit1Change();
    void BitBtn2Click() { hide(); }
    // The list takes selections and Open In Editor is enabled when no other run goes.
    void UpdateButtons();
    // A quick view of this window is going.
    bool Busy() const { return FQueue.Running(); }

    QFileSystemModel* FolderModel() const { return FFolderModel; }
    QFileSystemModel* FileModel() const { return FFileModel; }
    // The masks the file list applies now.
    const std::vector<std::string>& Masks() const;

    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label3;
    QListView* FileListBox1;
    QLabel* Label2;
    QSpinBox* UpDown1;
    // The up-down's own field: read-only, it shows the value.
    QLineEdit* EditWait;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillDrives();
    void ShowDriveOf(const QString& folder);
    // Applies the list's folder and masks; the current entry that goes with them
    // starts no quick view.
    void RefilterList();

    TMainForm& FMain;
    QFileSystemModel* FFolderModel;
    QFileSystemModel* FFileModel;
    TFileListFilter* FFileList;
    bool FRefiltering = false;
    QString FFolder;
    TQuickViewQueue FQueue;
};

// The one quick-view window, made by the program's main block; nullptr before and after.
extern TFQuickview* FQuickview;

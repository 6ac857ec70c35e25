#include "app/testrun/QuickviewForm.h"

#include "app/shell/MainForm.h"
#include "app/run/RunWindows.h"

#include "platform/gui/ActionList.h"
#include "platform/gui/EntryKindIconProvider.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include <optional>

TFQuickview* FQuickview = nullptr;

namespace {
// A spin box whose field only shows the value: the arrows and keys change it.
class TUpDownBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;
    QLineEdit* Field() const { return lineEdit(); }
};

} // namespace

// The entries of the list's folder that are files matching the masks; the folders on
// the way down to it stay, so that it has an index.
class TFileListFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QString Folder;
    std::vector<std::string> Masks;

    void Apply() { invalidateFilter(); }

    // Names only: a row as high as a line of text, so the list shows as many files as
    // its height holds lines (with icons each row is taller).
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DecorationRole ? QVariant() : QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override
    {
        const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
        if (files->filePath(sourceParent) != Folder) {
            return true;
        }
        const QModelIndex entry = files->index(sourceRow, 0, sourceParent);
        return !files->isDir(entry) && MatchesFileMasks(files->fileName(entry).toStdString(), Masks);
    }
};

TFQuickview::TFQuickview(TMainForm& main)
    : QWidget(&main, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FMain(main)
{
    setObjectName(QStringLiteral("FQuickview"));
    setWindowTitle(QStringLiteral("Quick View"));
    resize(391, 702);

    FFolderModel = new QFileSystemModel(this);
    FFolderModel->setIconProvider(EntryKindIconProvider());
    FFolderModel->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    FFileModel = new QFileSystemModel(this);
    FFileModel->setIconProvider(EntryKindIconProvider());
    FFileModel->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    FFileList = new TFileListFilter(this);
    FFileList->setSourceModel(FFileModel);
    // The list starts with the first mask only; the field's text applies once edited.
    FFileList->Masks = {"*.sbp"};

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setModel(FFolderModel);
    DirectoryListBox1->setHeaderHidden(true);
    for (int column = 1; column < FFolderModel->columnCount(); ++column) {
        DirectoryListBox1->hideColumn(column);
    }
    Label1 = new QLabel(QStringLiteral("File Types:"), this);
    Edit1 = new QLineEdit(QStringLiteral("*.sbp;*.txt"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label3 = new QLabel(QStringLiteral("( Seperate with semicolons ';' )"), this);

    FileListBox1 = new QListView(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setModel(FFileList);
    FileListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    FileListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    Label2 = new QLabel(QStringLiteral("Seconds to Wait:"), this);
    auto* upDown = new TUpDownBox(this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    upDown->setRange(1, 10);
    upDown->setValue(5);
    upDown->setWrapping(false);
    UpDown1 = upDown;
    EditWait = upDown->Field();
    EditWait->setObjectName(QStringLiteral("EditWait"));
    EditWait->setReadOnly(true);
    BitBtn1 = new QPushButton(QStringLiteral("&Open In Editor"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("&Close"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* types = new QHBoxLayout;
    types->addWidget(Label1);
    types->addWidget(Edit1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label2);
    bottom->addWidget(UpDown1);
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DriveComboBox1);
    layout->addWidget(DirectoryListBox1, 2);
    layout->addLayout(types);
    layout->addWidget(Label3);
    layout->addWidget(FileListBox1, 3);
    layout->addLayout(bottom);

    FillDrives();
    SetFolder(QDir::currentPath());

    connect(DriveComboBox1, &QComboBox::activated, this, [this](int index) {
        RunGuarded([this, index] { SetFolder(DriveComboBox1->itemData(index).toString()); });
    });
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    RunGuarded([this, current] { SetFolder(FFolderModel->filePath(current)); });
                }
            });
    connect(FileListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] {
                if (!FRefiltering) {
                    RunGuarded([this] { FileListBox1Change(); });
                }
            });
    connect(FileListBox1, &QListView::doubleClicked, this, [this] { RunGuarded([this] { FileListBox1DblClick(); }); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunGuarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

TFQuickview::~TFQuickview()
{
    if (FQuickview == this) {
        FQuickview = nullptr;
    }
}

void TFQuickview::FillDrives()
{
    DriveComboBox1->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) {
            continue;
        }
        const QString root = volume.rootPath();
        const QString name = volume.displayName();
        DriveComboBox1->addItem(name.isEmpty() || name == root ? root : root + " [" + name + "]", root);
    }
}

void TFQuickview::ShowDriveOf(const QString& folder)
{
    // The volume that holds the folder: the longest mount point it lies below.
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString root = DriveComboBox1->itemData(i).toString();
        const bool below = folder == root || folder.startsWith(root.endsWith('/') ? root : root + '/');
        if (below && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    if (best >= 0) {
        DriveComboBox1->setCurrentIndex(best);
    }
}

void TFQuickview::SetFolder(const QString& folder)
{
    const QString path = QDir(folder).absolutePath();
    if (path == FFolder || !QFileInfo(path).isDir()) {
        return;
    }
    FFolder = path;
    ShowDriveOf(path);
    FFolderModel->setRootPath(path);
    const QModelIndex folderIndex = FFolderModel->index(path);
    if (DirectoryListBox1->currentIndex() != folderIndex) {
        DirectoryListBox1->setCurrentIndex(folderIndex);
    }
    DirectoryListBox1->scrollTo(folderIndex);
    DirectoryListBox1->expand(folderIndex);
    FFileModel->setRootPath(path);
    FFileList->Folder = path;
    RefilterList();
}

void TFQuickview::RefilterList()
{
    FRefiltering = true;
    FileListBox1->setCurrentIndex(QModelIndex());
    FFileList->Apply();
    FileListBox1->setRootIndex(FFileList->mapFromSource(FFileModel->index(FFileList->Folder)));
    FRefiltering = false;
}

const std::vector<std::string>& TFQuickview::Masks() const
{
    return FFileList->Masks;
}

QString TFQuickview::SelectedFile() const
{
    const QModelIndex current = FileListBox1->currentIndex();
    return current.isValid() ? FFileModel->filePath(FFileList->mapToSource(current)) : QString();
}

void TFQuickview::SelectFile(const QString& fileName)
{
    FileListBox1->setCurrentIndex(FFileList->mapFromSource(FFileModel->index(fileName)));
}

void TFQuickview::FileListBox1Change()
{
    const QString file = SelectedFile();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        return;
    }
    // Inside this window's quick view the selection queues; any other run refuses it.
    if (!FQueue.Running() && AnyRunGoing(FMain)) {
        return;
    }
    std::optional<TRunActionsHold> hold;
    if (!FQueue.Running()) {
        hold.emplace(FMain);
    }
    FQueue.Select(
        file.toStdString(),
        [this](const std::string& name) {
            FMain.RunQuickView(QString::fromStdString(name), UpDown1->value() * 1000);
            FMain.UpdateAllActions(false);
        },
        [this] { FMain.actStopExecute(); });
    if (hold) {
        hold.reset();
        FMain.UpdateAllActions(false);
    }
}

void TFQuickview::FileListBox1DblClick()
{
    if (AnyRunGoing(FMain)) {
        return;
    }
    const QString file = SelectedFile();
    if (!file.isEmpty() && QFileInfo(file).isFile()) {
        FMain.DoOpenFile(file);
    }
}

void TFQuickview::Edit1Change()
{
    FFileList->Masks = ParseFileMasks(Edit1->text().toStdString());
    RefilterList();
}

void TFQuickview::UpdateButtons()
{
    const bool going = AnyRunGoing(FMain);
    FileListBox1->setEnabled(!going || FQueue.Running());
    BitBtn1->setEnabled(!going);
}

void TFQuickview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        BitBtn2Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

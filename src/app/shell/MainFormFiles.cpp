// The main window's file commands: opening files in pages, the command line, New, Open,
// Close All, the recent-files menu, the tab popup and the sub-file of an FP line.
#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/shell/MainForm.h"
#include "app/pages/PageControl.h"
#include "app/pages/PageFiles.h"

#include "engine/ParsedLine.h"
#include "engine/SubFileNames.h"
#include "platform/core/Assert.h"
#include "platform/core/services/DialogService.h"
#include "platform/gui/ShellOpen.h"

#include <QFileInfo>
#include <QMenu>

void TMainForm::DoOpenFile(const QString& fileName)
{
    if (QuietRun) {
        return;
    }
    if (!fileName.isEmpty() && !EditorFactory) {
        kerfpad_detail::FailAssertion("Assertion failure", "frmMain", 575);
    }
    OpenFileInPage(fileName, [this] { return DoCreateEditor(); });
}

std::shared_ptr<IEditor> TMainForm::DoCreateEditor()
{
    dm->Log(QStringLiteral("debug"), QStringLiteral("DoCreateEditor"));
    return EditorFactory ? EditorFactory->CreateTabSheet(pctrlMain) : nullptr;
}

bool TMainForm::OpenCommandLine(const QStringList& arguments, bool many)
{
    for (const QString& argument : arguments) {
        DoOpenFile(argument);
        if (!many) {
            break;
        }
    }
    return !arguments.isEmpty();
}

void TMainForm::actFileNewExecute()
{
    DoOpenFile(QString());
}

void TMainForm::actFileOpenExecute()
{
    QStringList files;
    if (dm->ExecuteOpenDialog(files)) {
        for (const QString& file : files) {
            DoOpenFile(file);
        }
    }
}

void TMainForm::actFileCloseAllExecute()
{
    if (!EditorFactory) {
        return;
    }
    // Each page decides for itself whether it may close.
    for (int i = EditorFactory->GetEditorCount() - 1; i >= 0; --i) {
        if (const std::shared_ptr<IEditor> page = EditorFactory->GetEditor(i)) {
            page->ExecClose();
        }
    }
}

void TMainForm::PrintSetup1Click()
{
    dm->ExecutePrinterSetup();
}

void TMainForm::mFileClick()
{
    mRecentFiles->menuAction()->setEnabled(dm->GetMRUFileCount() >= 1 && !Running);
}

void TMainForm::mRecentFilesClick()
{
    for (int k = 1; k <= static_cast<int>(MRUItems.size()); ++k) {
        const QString entry = dm->GetMRUFile(k - 1);
        QAction* item = MRUItems[static_cast<std::size_t>(k - 1)];
        // A "&" in a file name is a character of the name, not an accelerator.
        item->setText(QString(entry).replace(QLatin1Char('&'), QLatin1String("&&")));
        item->setVisible(!entry.isEmpty());
    }
}

void TMainForm::OnOpenMRUFile(int number)
{
    const QString entry = dm->GetMRUFile(number - 1);
    if (entry.isEmpty()) {
        return;
    }
    // A file that went away gives no empty page of its name.
    if (!QFileInfo::exists(entry)) {
        dm->RemoveMRUFile(entry);
        ShowErrorBox("File not found: " + entry.toStdString());
        return;
    }
    DoOpenFile(entry);
}

std::shared_ptr<IEditor> TMainForm::LiveActiveEditor() const
{
    std::shared_ptr<IEditor> page = ActiveEditor;
    return page && page->CanClose() ? page : nullptr;
}

void TMainForm::CloseAllb1Click()
{
    const std::shared_ptr<IEditor> active = LiveActiveEditor();
    if (!active || !EditorFactory) {
        return;
    }
    std::vector<std::shared_ptr<IEditor>> others;
    for (int i = 0; i < EditorFactory->GetEditorCount(); ++i) {
        std::shared_ptr<IEditor> page = EditorFactory->GetEditor(i);
        if (!SamePage(page, active)) {
            others.push_back(std::move(page));
        }
    }
    for (const auto& page : others) {
        page->ExecClose();
    }
}

void TMainForm::OpeningContainingFolder1Click()
{
    const std::shared_ptr<IEditor> active = LiveActiveEditor();
    const QString fileName = active ? active->GetFileName() : QString();
    if (!fileName.isEmpty()) {
        // A desktop that cannot open it is no error of ours.
        ShellOpen(QFileInfo(fileName).absolutePath());
    }
}

QString TMainForm::ResolveFPFileName(const QString& lineText)
{
    // The line as the run reads it, so that Ctrl+click opens the file the run calls.
    TArrayofCmds cmds;
    ParseLine(lineText, cmds);
    const std::shared_ptr<IEditor> active = LiveActiveEditor();
    const std::string mainFile = active ? active->GetFileName().toStdString() : std::string();
    return QString::fromStdString(ResolveSubFileName(cmds[1], mainFile));
}

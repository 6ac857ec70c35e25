#include "app/pages/PageFiles.h"

#include "app/shell/DataModule.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

bool SameFileName(const QString& pageFileName, const QString& askedName)
{
    if (pageFileName.isEmpty() || askedName.isEmpty()) {
        return false;
    }
    if (pageFileName == askedName) {
        return true;
    }
    const QFileInfo asked(askedName);
    if (asked.exists()) {
        std::error_code error;
        return std::filesystem::equivalent(pageFileName.toStdString(), askedName.toStdString(), error) && !error;
    }
    return pageFileName.compare(askedName, Qt::CaseInsensitive) == 0;
}

std::shared_ptr<IEditor> FindPageForFile(const QString& fullName)
{
    if (!EditorFactory) {
        return nullptr;
    }
    for (int i = EditorFactory->GetEditorCount() - 1; i >= 0; --i) {
        std::shared_ptr<IEditor> page = EditorFactory->GetEditor(i);
        if (page && SameFileName(page->GetFileName(), fullName)) {
            return page;
        }
    }
    return nullptr;
}

QString FullFileName(const QString& name)
{
    return name.isEmpty() ? name : QFileInfo(name).absoluteFilePath();
}

void OpenFileInPage(const QString& name, const std::function<std::shared_ptr<IEditor>()>& createPage)
{
    const QString fullName = FullFileName(name);
    if (!fullName.isEmpty()) {
        if (dm != nullptr) {
            dm->RemoveMRUFile(fullName);
        }
        if (const std::shared_ptr<IEditor> page = FindPageForFile(fullName)) {
            page->Activate();
            return;
        }
    }
    if (const std::shared_ptr<IEditor> page = createPage()) {
        page->OpenFile(fullName);
    }
}

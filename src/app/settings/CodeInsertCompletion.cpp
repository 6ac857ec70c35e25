#include "app/settings/CodeInsertCompletion.h"

#include "app/shell/DelimitedText.h"
#include "app/pages/EditorInterfaces.h"
#include "app/plugins/PlugInLoader.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/text/NumberFormat.h"

namespace {
const QString LoadFileTag = QStringLiteral("[LOADFILE]");
}

bool IsLoadFileValue(const QString& value)
{
    return value.contains(LoadFileTag, Qt::CaseInsensitive);
}

std::optional<TLoadFileItem> ParseLoadFileValue(const QString& value)
{
    const QStringList fields = SplitDelimitedText(QLatin1Char(','), value);
    if (fields.size() < 2 || fields[1].isEmpty()) {
        return std::nullopt;
    }
    TLoadFileItem item;
    item.FileName = fields[1];
    int width = 0;
    int height = 0;
    if (fields.size() >= 4 && TryStrToInt(fields[2].toStdString(), width) &&
        TryStrToInt(fields[3].toStdString(), height)) {
        item.Width = width;
        item.Height = height;
    }
    return item;
}

void CodeAutoCompleteCodeCompletion(QString& value, bool& canExecute)
{
    if (!IsLoadFileValue(value)) {
        return;
    }
    if (const std::shared_ptr<IEditor> page = ActiveEditor) {
        page->ClearCurrentLine();
    }
    canExecute = false;
    const std::optional<TLoadFileItem> item = ParseLoadFileValue(value);
    if (!item) {
        ShowErrorBox("The code insert item names no plug-in page: " + value.toStdString());
        return;
    }
    IPlugInLoader* loader = PlugInLoader();
    if (loader == nullptr) {
        ShowErrorBox("No plug-in window can show " + item->FileName.toStdString());
        return;
    }
    loader->LoadSimple(item->FileName, item->Width, item->Height, false);
}

#include "app/settings/CodeInsertCompletion.h"

#include "app/shell/DelimitedText.h"
#include "app/pages/EditorInterfaces.h"
#include "app/plugins/PlugInLoader.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/services/EventLoop.h"
#include "platform/core/text/NumberFormat.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {
const QString LoadFileTag = QStringLiteral("[LOADFILE]");

void ShowLoadFileItem(const QString& value)
{
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

// A plug-in item chosen, shown once the completion that chose it has ended. It carries
// its own value: one posted to a loop that went before delivering it shows nothing later.
class TLoadFileItemShow final : public TEventTarget {
public:
    explicit TLoadFileItemShow(QString value) : FValue(std::move(value)) {}
    void HandleEvent(const TLoopEvent&) override;

private:
    QString FValue;
};

// Posted and not yet shown.
std::vector<std::unique_ptr<TLoadFileItemShow>>& PendingShows()
{
    static std::vector<std::unique_ptr<TLoadFileItemShow>> pending;
    return pending;
}

void TLoadFileItemShow::HandleEvent(const TLoopEvent&)
{
    const QString value = FValue;
    auto& pending = PendingShows();
    const auto self = std::find_if(pending.begin(), pending.end(), [this](const auto& p) { return p.get() == this; });
    if (self != pending.end()) {
        pending.erase(self); // deletes this
    }
    ShowLoadFileItem(value);
}

void ShowAfterCompletion(const QString& value)
{
    IEventLoop* loop = GetEventLoop();
    if (loop == nullptr) {
        ShowLoadFileItem(value);
        return;
    }
    PendingShows().push_back(std::make_unique<TLoadFileItemShow>(value));
    loop->PostEvent(*PendingShows().back(), loop->RegisterEventType("ShowCodeInsertPlugInPage"));
}
} // namespace

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
    // The page's window is modal: opened from inside the completion it showed over the
    // list still up and the typed token still drawn, since the editor paints the emptied
    // line only once the completion ends.
    ShowAfterCompletion(value);
}

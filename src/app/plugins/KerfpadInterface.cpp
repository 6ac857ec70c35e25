#include "app/plugins/KerfpadInterface.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/plugins/PlugInsForm.h"

#include "platform/core/Exceptions.h"
#include "platform/core/NumberFormat.h"

namespace {

Tdm& DataModule()
{
    if (dm == nullptr) {
        throw Exception("Kerfpad is not ready: it has no data module");
    }
    return *dm;
}

void RefuseDuringHeadlessRun()
{
    const IAutomationShell* shell = AutomationShell();
    if (shell != nullptr && shell->HeadlessRunGoing()) {
        throw Exception("No path nodes can be added while a results run or a quick view goes.");
    }
}

} // namespace

void TKerfpadInterface::SendData(const std::string& resultData, int toPlugins)
{
    if (IAutomationShell* shell = AutomationShell()) {
        shell->BringToFront();
    }
    TFPlugIns* window = FPlugIns;
    if (window == nullptr) {
        return;
    }
    const QString text = QString::fromStdString(resultData);
    if (window->BufferShown() && toPlugins == 1) {
        window->SetBufferText(text);
        return;
    }
    const std::shared_ptr<IEditor> page = ActiveEditor;
    // Refused before anything changes: the plug-in learns of it and its window stays.
    if (page && page->GetEditorState() == QLatin1String("Read Only")) {
        throw Exception("The page is read-only while a program runs; the text was not inserted.");
    }
    window->CloseFromAutomation();
    if (page) {
        page->InsertText(text);
    }
}

std::string TKerfpadInterface::GetData(int selection)
{
    std::string data;
    if (const TFPlugIns* window = FPlugIns) {
        data = (selection == 1 ? window->BufferSelText() : window->BufferText()).toStdString();
    }
    return data;
}

std::string TKerfpadInterface::GetCurrentLine()
{
    std::string data;
    if (const std::shared_ptr<IEditor> page = ActiveEditor) {
        data = page->GetCurrentLine().toStdString();
    }
    return data;
}

std::string TKerfpadInterface::GetCurPos()
{
    const TVector position = DataModule().Engine.GetPosition();
    return FloatToStrGeneral(position.X, 15) + ',' + FloatToStrGeneral(position.Y, 15) + ',' +
           FloatToStrGeneral(position.Z, 15);
}

double TKerfpadInterface::GetLastMoveSegmentAngle()
{
    return DataModule().Engine.GetLastHeading();
}

void TKerfpadInterface::AddMoveNode(double x, double y, double z, int setcurpos, int newlines)
{
    Tdm& data = DataModule();
    RefuseDuringHeadlessRun();
    data.Engine.AddMoveNode(setcurpos == 1, newlines == 1, static_cast<float>(x), static_cast<float>(y),
                            static_cast<float>(z));
}

void TKerfpadInterface::AddJogNode(double x, double y, double z, int setcurpos, int newlines)
{
    Tdm& data = DataModule();
    RefuseDuringHeadlessRun();
    data.Engine.AddJogNode(setcurpos == 1, newlines == 1, static_cast<float>(x), static_cast<float>(y),
                           static_cast<float>(z));
}

#include "app/plugins/KerfpadInterface.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/plugins/PlugInsForm.h"

#include "platform/core/Exceptions.h"
#include "platform/core/text/NumberFormat.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

Tdm& DataModule()
{
    if (dm == nullptr) {
        throw Exception("Kerfpad is not ready: it has no data module");
    }
    return *dm;
}

// A node's coordinate as the simulator stores it (single precision); a value that is
// not finite there would poison the position and every path text after it.
float NodeCoordinate(const char* method, const char* axis, double value)
{
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        throw Exception(std::string(method) + ": " + axis + " = " + FloatToStr(value) +
                        " is not a finite single-precision number; no node was added.");
    }
    return static_cast<float>(value);
}

// A plug-in's node through the engine's move or jog slot (`add`), once the call may
// add one and every coordinate holds.
using TAddNode = void (TEngineData::*)(bool, bool, float, float, float) const;
void AddNode(const char* method, TAddNode add, double x, double y, double z, int setcurpos, int newlines)
{
    Tdm& data = DataModule();
    const IAutomationShell* shell = AutomationShell();
    if (shell != nullptr && shell->HeadlessRunGoing()) {
        throw Exception("No path nodes can be added while a results run or a quick view goes.");
    }
    const float fx = NodeCoordinate(method, "x", x);
    const float fy = NodeCoordinate(method, "y", y);
    const float fz = NodeCoordinate(method, "z", z);
    (data.Engine.*add)(setcurpos == 1, newlines == 1, fx, fy, fz);
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
    // The window closes first, whatever becomes of the text: a run that the window's
    // modal loop holds goes on only once it is gone.
    window->CloseFromAutomation();
    if (!page) {
        return;
    }
    if (page->GetEditorState() == QLatin1String("Read Only")) {
        throw Exception("The page is read-only while a program runs; the text was not inserted.");
    }
    page->InsertText(text);
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
    AddNode("AddMoveNode", &TEngineData::AddMoveNode, x, y, z, setcurpos, newlines);
}

void TKerfpadInterface::AddJogNode(double x, double y, double z, int setcurpos, int newlines)
{
    AddNode("AddJogNode", &TEngineData::AddJogNode, x, y, z, setcurpos, newlines);
}

#include "platform/gui/automation/AutomationCalls.h"

#include <exception>
#include <utility>

TAutomationCalls::TAutomationCalls(IKerfpadAutomation& target, TAutomationErrorEvent onFailure)
    : FTarget(target), FOnFailure(std::move(onFailure))
{
}

template <class F>
void TAutomationCalls::Guarded(F&& call)
{
    QString failure;
    try {
        call();
        return;
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("Unexpected error");
    }
    if (FOnFailure) {
        FOnFailure(failure);
    }
}

void TAutomationCalls::SendData(const QString& resultData, int toPlugins)
{
    Guarded([&] { FTarget.SendData(resultData.toStdString(), toPlugins); });
}

QString TAutomationCalls::GetData(int selection)
{
    QString data;
    Guarded([&] { data = QString::fromStdString(FTarget.GetData(selection)); });
    return data;
}

QString TAutomationCalls::GetCurrentLine()
{
    QString data;
    Guarded([&] { data = QString::fromStdString(FTarget.GetCurrentLine()); });
    return data;
}

QString TAutomationCalls::GetCurPos()
{
    QString curpos;
    Guarded([&] { curpos = QString::fromStdString(FTarget.GetCurPos()); });
    return curpos;
}

double TAutomationCalls::GetLastMoveSegmentAngle()
{
    double angle = 0;
    Guarded([&] { angle = FTarget.GetLastMoveSegmentAngle(); });
    return angle;
}

void TAutomationCalls::AddMoveNode(double x, double y, double z, int setcurpos, int newlines)
{
    Guarded([&] { FTarget.AddMoveNode(x, y, z, setcurpos, newlines); });
}

void TAutomationCalls::AddJogNode(double x, double y, double z, int setcurpos, int newlines)
{
    Guarded([&] { FTarget.AddJogNode(x, y, z, setcurpos, newlines); });
}

#pragma once
// The automation interface in the Qt transports' types, shared by the D-Bus object and
// the plug-in pages' channel object, whose slots forward here: each call converts its
// arguments, calls the target and converts the result back. A call that raises hands
// the exception's message ("Unexpected error" for anything but std::exception) to
// `onFailure` and answers an empty result, so no exception reaches the transport.

#include "platform/gui/automation/KerfpadAutomation.h"

#include <QString>

#include <functional>

using TAutomationErrorEvent = std::function<void(const QString& message)>;

class TAutomationCalls {
public:
    // `target` is not owned and must outlive this object; `onFailure` may be empty.
    TAutomationCalls(IKerfpadAutomation& target, TAutomationErrorEvent onFailure);

    void SendData(const QString& resultData, int toPlugins);
    QString GetData(int selection);
    QString GetCurrentLine();
    QString GetCurPos();
    double GetLastMoveSegmentAngle();
    void AddMoveNode(double x, double y, double z, int setcurpos, int newlines);
    void AddJogNode(double x, double y, double z, int setcurpos, int newlines);

private:
    template <class F>
    void Guarded(F&& call);

    IKerfpadAutomation& FTarget;
    TAutomationErrorEvent FOnFailure;
};

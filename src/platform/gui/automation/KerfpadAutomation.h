#pragma once
// The automation interface that plug-ins call back into the running program through:
// seven methods in a fixed order, the same on every transport (the D-Bus session bus
// for separate programs, the web channel for plug-in pages). Text is UTF-8. A method
// reports a failure by raising; each transport turns that into its own error form, so
// no exception ever crosses to a caller.

#include <string>

class IKerfpadAutomation {
public:
    virtual ~IKerfpadAutomation() = default;
    virtual void SendData(const std::string& resultData, int toPlugins) = 0;
    virtual std::string GetData(int selection) = 0;
    virtual std::string GetCurrentLine() = 0;
    virtual std::string GetCurPos() = 0;
    virtual double GetLastMoveSegmentAngle() = 0;
    virtual void AddMoveNode(double x, double y, double z, int setcurpos, int newlines) = 0;
    virtual void AddJogNode(double x, double y, double z, int setcurpos, int newlines) = 0;
};

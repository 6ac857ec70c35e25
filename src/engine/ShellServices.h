#pragma once
// What the engine needs from the application shell. The shell implements this
// interface; the engine never includes anything of the shell itself. Questions, OK
// boxes and input boxes do not belong here: they go through the platform's dialog
// service so that every layer shares one replaceable responder.

#include <string>

class TCalculVariables;

class IShellServices {
public:
    virtual ~IShellServices() = default;

    // One line of the debug log: date and time, the tag ("info", "error"), the text.
    // Never raises.
    virtual void Log(const std::string& tag, const std::string& text) = 0;
    // Appends a line to the messages window and shows it (PRINT).
    virtual void AddMessage(const std::string& text) = 0;
    // Brings the variables list up to the evaluator's variables (after every line, so
    // it goes by their change record rather than their whole text).
    virtual void ShowVariables(const TCalculVariables& variables) = 0;
    // The "Suppress All Messages" switch and the quick-view flag.
    virtual bool SuppressAllMessages() const = 0;
    virtual bool QuickViewRunning() const = 0;
    // Waits the given time while the event loop keeps running (PAUSE n); the window
    // stays responsive and the wait may return early when the run is stopped.
    virtual void Wait(int milliseconds) = 0;
    // Frees every clamp box of the last run (called at the start of every run).
    virtual void FreeClamps() = 0;
};

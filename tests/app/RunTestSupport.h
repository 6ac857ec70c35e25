#pragma once
// The fixture of the run tests: a main window without a viewer whose waits do not
// sleep, whose cadencer runs on a clock that moves 20 ms per wait pass (and the tick
// count with it), and a watchdog that stops a run that would never end. Tests press
// Step, Step Back or Stop from the wait hook, as a user would between two frames.

#include "app/shell/MainForm.h"
#include "app/run/PreviewPanel.h"

#include "ShellTestSupport.h"

#include "scene/objects/shapes/Cone.h"

#include <QCheckBox>

#include <functional>
#include <string>

class TRunTest : public TShellTest {
protected:
    TRunTest() { StartWindow(); }
    ~TRunTest() override { Window.reset(); }

    // The main window, as a start of the program makes it (again: the one before goes
    // first, writing its settings as it closes).
    void StartWindow()
    {
        Window.reset();
        Window = std::make_unique<TMainForm>();
        Window->WaitFrameMs = 0;
        TGLCadencer& cadencer = Window->Scene->GLCadencer1;
        cadencer.SetTimeReference(cmExternal);
        cadencer.SetExternalTime(0);
        Window->OnWaitPass = [this] {
            Window->Scene->GLCadencer1.SetExternalTime(Window->Scene->GLCadencer1.ExternalTime() + 0.02);
            Clock.Ticks += 20;
            if (++Passes > MaxPasses) {
                ADD_FAILURE() << "the run never ended";
                Window->Running = false;
            }
            if (AtPass) {
                AtPass();
            }
        };
    }

    // A page of the file holding `text` ("\r\n" between lines), active.
    std::shared_ptr<TEditor> OpenProgram(const std::string& name, const std::string& text)
    {
        WriteText(name, text);
        Window->DoOpenFile(FilePath(name));
        return AsEditor(ActiveEditor);
    }
    void Run() { Window->actRun->Execute(); }
    void SetSimulate(bool on) { Window->PanelGL->cbSim->setChecked(on); }
    std::string CutText() const
    {
        std::string text;
        Window->Move->GetPathText("M", text);
        return text;
    }
    std::string JogText() const
    {
        std::string text;
        Window->Move->GetPathText("J", text);
        return text;
    }
    TVector Position() const
    {
        TVector p;
        Window->Move->GetPosition(p);
        return p;
    }
    TAffineVector BitPosition() const { return Window->Scene->Bit->Position().GetAsAffineVector(); }

    std::unique_ptr<TMainForm> Window;
    int Passes = 0;
    int MaxPasses = 200000;
    // What the test does at each pass of a wait.
    std::function<void()> AtPass;
};

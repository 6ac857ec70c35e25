#include "app/run/RunWindows.h"

#include "app/shell/MainForm.h"
#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"

bool AnyRunGoing(const TMainForm& main)
{
    return main.Running || main.RunOnStack() || (FTestRun != nullptr && FTestRun->Busy())
        || (FQuickview != nullptr && FQuickview->Busy());
}

TRunActionsHold::TRunActionsHold(TMainForm& main)
{
    for (TAction* action : {main.actRun, main.actPause, main.actStep, main.actStepBack}) {
        FSaved.push_back({action, action->OnUpdate});
        // Every trigger updates first, so an action disabled here never executes.
        action->OnUpdate = [](TAction& a) { a.setEnabled(false); };
        action->Update();
    }
}

TRunActionsHold::~TRunActionsHold()
{
    for (TSaved& saved : FSaved) {
        saved.Action->OnUpdate = std::move(saved.Update);
        saved.Action->Update();
    }
}

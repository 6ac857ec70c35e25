#pragma once
// The editor pages a results run opens for itself, its program's and its sub-files'
// (RunFile opens the page of every file it runs), close again once the run has returned:
// Run All over thousands of programs would otherwise keep a page of each, and every page
// holds its text, its window and two of the program's plug-in command numbers (its
// macro recorder's), which run out at 768 pages. The pages open before the run are the
// user's and stay.

#include "app/pages/EditorInterfaces.h"

#include <memory>
#include <vector>

class TRunOwnPages {
public:
    // Notes the pages open now and the active one.
    TRunOwnPages();

    // Closes every page opened since, unless it was changed meanwhile (a plug-in's text
    // sent into it): that one stays for the user to save. The user never opened these
    // pages, so they do not go on the recent-files list. They are freed before this
    // returns (the event loop delivers their close). The page that was active is active
    // again.
    void CloseOpenedSince();

private:
    bool WasOpen(const std::shared_ptr<IEditor>& page) const;

    std::vector<std::shared_ptr<IEditor>> FBefore;
    std::shared_ptr<IEditor> FActive;
};

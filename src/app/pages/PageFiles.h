#pragma once
// One file, one page: which open page shows a file.

#include "app/pages/EditorInterfaces.h"

#include <QString>

#include <functional>
#include <memory>

// Whether a page's file name stands for the asked name: the same path, two names of one
// existing file, or names that differ only in letter case while no file of the asked
// name exists (a name typed in another case on a system that ignores case). Two real
// files that differ in case are two files.
bool SameFileName(const QString& pageFileName, const QString& askedName);

// The page of the editor factory, searched from the last to the first, that shows the
// file; nullptr when none does (or there is no factory).
std::shared_ptr<IEditor> FindPageForFile(const QString& fullName);

// A name made absolute against the current folder; an empty name stays empty.
QString FullFileName(const QString& name);

// Opens a file in a page: a name that is not empty leaves the recent-files list, and the
// page that shows it already becomes the active page; otherwise `createPage` makes a
// page (none: nothing more), which opens the file (an empty or missing name gives a new
// page). The name is made absolute first.
void OpenFileInPage(const QString& name, const std::function<std::shared_ptr<IEditor>()>& createPage);

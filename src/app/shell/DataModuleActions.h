#pragma once
// The data module's file, edit, search and indent actions (actlMain). Each forwards to
// the page that was last active, through the active-editor globals; its update enables
// it by that page's matching "Can" query and disables it when there is no page. All
// start disabled but Block Indent, Block Un-Indent and Code Insert, which the first
// update sets. Print and Print Preview share one update; Code Insert is enabled while a
// page is active (DataModulePrintActions.cpp).

#include "platform/gui/ActionList.h"

class TDataModuleActions {
public:
    TDataModuleActions();

    TActionList actlMain;

    TAction* actFileSave;
    TAction* actFileSaveAs;
    TAction* actFileClose;
    TAction* actEditCut;
    TAction* actEditCopy;
    TAction* actEditPaste;
    TAction* actEditDelete;
    TAction* actEditUndo;
    TAction* actEditRedo;
    TAction* actEditSelectAll;
    TAction* actSearchFind;
    TAction* actSearchFindNext;
    TAction* actSearchFindPrev;
    TAction* actSearchReplace;
    TAction* actIndent;
    TAction* actUnIndent;
    TAction* actFilePrint;
    TAction* actFilePrintPreview;
    TAction* actCodeInsert;

private:
    void AddPrintAndCodeInsertActions();
};

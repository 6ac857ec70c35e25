#include "app/shell/DataModuleActions.h"

#include "app/pages/EditorInterfaces.h"
#include "app/shell/ToolbarImages.h"

namespace {

// An action of one interface: execute and enabled state through the active global.
template <class I>
TAction* Forward(TActionList& list, std::shared_ptr<I>& global, const QString& name, const QString& caption,
                 const QString& hint, const QKeySequence& shortcut, int image, void (I::*execute)(),
                 bool (I::*can)())
{
    TAction* action = list.Add(name, caption, hint, shortcut, image, false);
    action->OnExecute = [&global, execute](TAction&) {
        if (const std::shared_ptr<I> target = global) {
            (target.get()->*execute)();
        }
    };
    action->OnUpdate = [&global, can](TAction& self) {
        const std::shared_ptr<I> target = global;
        self.setEnabled(target && (target.get()->*can)());
    };
    return action;
}

TAction* Indent(TActionList& list, const QString& name, const QString& caption, const QString& hint, int image,
                bool indent)
{
    TAction* action = list.Add(name, caption, hint, {}, image, true);
    action->OnExecute = [indent](TAction&) {
        if (const std::shared_ptr<IEditor> editor = ActiveEditor) {
            editor->IndentSelection(indent);
        }
    };
    // Enabled while the page has a selection.
    action->OnUpdate = [](TAction& self) {
        const std::shared_ptr<IEditActions> target = ActiveEditActions;
        self.setEnabled(target && target->CanCopy());
    };
    return action;
}

} // namespace

TDataModuleActions::TDataModuleActions()
{
    using K = QKeySequence;
    TActionList& l = actlMain;
    auto& file = ActiveFileActions;
    auto& edit = ActiveEditActions;
    auto& search = ActiveSearchActions;
    using F = IFileActions;
    using E = IEditActions;
    using S = ISearchActions;
    actFileSave = Forward(l, file, "actFileSave", "&Save", "Save", K(Qt::CTRL | Qt::Key_S), 2, &F::ExecSave,
                          &F::CanSave);
    actFileSaveAs = Forward(l, file, "actFileSaveAs", "Save &As...", "Save As", {}, 2, &F::ExecSaveAs, &F::CanSaveAs);
    actFileClose = Forward(l, file, "actFileClose", "&Close Document", "Close File", K(Qt::CTRL | Qt::Key_F4), 23,
                           &F::ExecClose, &F::CanClose);
    actEditCut = Forward(l, edit, "actEditCut", "Cu&t", "Cut", K(Qt::CTRL | Qt::Key_X), 5, &E::ExecCut, &E::CanCut);
    actEditCopy =
        Forward(l, edit, "actEditCopy", "&Copy", "Copy", K(Qt::CTRL | Qt::Key_C), 6, &E::ExecCopy, &E::CanCopy);
    actEditPaste =
        Forward(l, edit, "actEditPaste", "&Paste", "Paste", K(Qt::CTRL | Qt::Key_V), 7, &E::ExecPaste, &E::CanPaste);
    actEditDelete = Forward(l, edit, "actEditDelete", "De&lete", "Delete", {}, -1, &E::ExecDelete, &E::CanDelete);
    actEditUndo =
        Forward(l, edit, "actEditUndo", "&Undo", "Undo", K(Qt::CTRL | Qt::Key_Z), 4, &E::ExecUndo, &E::CanUndo);
    actEditRedo = Forward(l, edit, "actEditRedo", "&Redo", "Redo", K(Qt::SHIFT | Qt::CTRL | Qt::Key_Z), -1,
                          &E::ExecRedo, &E::CanRedo);
    actEditSelectAll = Forward(l, edit, "actEditSelectAll", "Select &All", "Select All", K(Qt::CTRL | Qt::Key_A), -1,
                               &E::ExecSelectAll, &E::CanSelectAll);
    actSearchFind =
        Forward(l, search, "actSearchFind", "&Find...", "Find", K(Qt::CTRL | Qt::Key_F), 16, &S::ExecFind, &S::CanFind);
    actSearchFindNext = Forward(l, search, "actSearchFindNext", "Find &Next", "Find Next", K(Qt::Key_F3), 17,
                                &S::ExecFindNext, &S::CanFindNext);
    actSearchFindPrev = Forward(l, search, "actSearchFindPrev", "Find &Previous", "Find Prev",
                                K(Qt::SHIFT | Qt::Key_F3), 18, &S::ExecFindPrev, &S::CanFindPrev);
    actSearchReplace = Forward(l, search, "actSearchReplace", "&Replace...", "Replace", K(Qt::CTRL | Qt::Key_H), 15,
                               &S::ExecReplace, &S::CanReplace);
    actIndent = Indent(l, "actIndent", "Block Indent", "Indent Block (Shift+Ctrl+I)", 20, true);
    actUnIndent = Indent(l, "actUnIndent", "Block Un-Indent", "Un-Indent Block (Shift+Ctrl+U)", 21, false);
    AddPrintAndCodeInsertActions();
    l.SetImages(ToolbarImage);
}

#include "app/pages/EditorFactory.h"

#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"

#include "editor/widget/CodeEditWidget.h"
#include "platform/core/services/DialogService.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {
void Fill(QWidget& parent, QWidget& child)
{
    QLayout* layout = parent.layout();
    if (layout == nullptr) {
        layout = new QVBoxLayout(&parent);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(&child);
}
} // namespace

// --- the tab sheet -----------------------------------------------------------------------

TEditorTabSheet::TEditorTabSheet(QTabWidget& pageControl)
    : QWidget(&pageControl), FPageControl(pageControl), FCloseEvent(0)
{
    setObjectName(QStringLiteral("EditorTabSheet"));
    if (IEventLoop* loop = GetEventLoop()) {
        FCloseEvent = loop->RegisterEventType("EditorTabSheetClose");
    }
}

void TEditorTabSheet::SetCaption(const QString& caption)
{
    const int index = FPageControl.indexOf(this);
    if (index >= 0) {
        FPageControl.setTabText(index, caption);
    }
}

void TEditorTabSheet::PostClose()
{
    IEventLoop* loop = GetEventLoop();
    if (loop == nullptr) {
        throw Exception("A page cannot close without the event loop");
    }
    FCloseEvent = loop->RegisterEventType("EditorTabSheetClose");
    loop->PostEvent(*this, FCloseEvent);
}

void TEditorTabSheet::HandleEvent(const TLoopEvent& event)
{
    if (event.type == FCloseEvent) {
        // The loop delivers through a receiver of its own, so the sheet may go here; the
        // page control drops the tab with it. Whether the page has the keyboard is its
        // window's say, active or not: after the save question the box has gone, and the
        // window manager (or, without one, the keyboard return) activates the main window
        // again only after this, so the application's focus widget is none here.
        const QWidget* focus = window()->focusWidget();
        const bool hadKeyboard = focus != nullptr && (focus == this || isAncestorOf(focus));
        QTabWidget& pageControl = FPageControl;
        delete this;
        // The keyboard stays with the pages: the page shown next takes it from the closed
        // one, which would otherwise leave it with no page (typed letters lost); in a
        // window not active yet it is the control that gets the keyboard with it.
        if (auto* next = dynamic_cast<TEditorTabSheet*>(pageControl.currentWidget()); hadKeyboard && next != nullptr
            && next->Form() != nullptr) {
            next->Form()->CodeEditorWidget().setFocus(Qt::OtherFocusReason);
        }
    }
}

// --- the factory -------------------------------------------------------------------------

bool TEditorFactory::CanCloseAll()
{
    for (int i = GetEditorCount() - 1; i >= 0; --i) {
        if (!GetEditor(i)->AskSaveChanges()) {
            return false;
        }
    }
    return true;
}

void TEditorFactory::CloseAll()
{
    ClosePages({FEditors.rbegin(), FEditors.rend()}, true);
}

std::shared_ptr<IEditor> TEditorFactory::CreateBorderless(QWidget* parent)
{
    TEditorForm* form = CreateForm(TEditorForm::kBorderless, parent);
    if (parent != nullptr) {
        Fill(*parent, *form);
    }
    form->show();
    return Add(*form);
}

std::shared_ptr<IEditor> TEditorFactory::CreateMDIChild(QWidget* owner)
{
    TEditorForm* form = CreateForm(TEditorForm::kMDIChild, nullptr);
    if (auto* area = qobject_cast<QMdiArea*>(owner)) {
        area->addSubWindow(form);
    } else {
        form->setParent(owner, Qt::Window);
    }
    form->show();
    return Add(*form);
}

std::shared_ptr<IEditor> TEditorFactory::CreateTabSheet(QTabWidget* pageControl)
{
    TEditorTabSheet* sheet = nullptr;
    try {
        sheet = new TEditorTabSheet(*pageControl);
        pageControl->addTab(sheet, QString());
        TEditorForm* form = CreateForm(TEditorForm::kTabSheet, sheet);
        sheet->SetForm(form);
        Fill(*sheet, *form);
        form->show();
        pageControl->setCurrentWidget(sheet);
        form->CodeEditorWidget().setFocus(Qt::OtherFocusReason);
        return Add(*form);
    } catch (...) {
        delete sheet;
        const std::string message = ExceptionMessage(std::current_exception());
        if (dm != nullptr) {
            dm->Log(QStringLiteral("error"), QStringLiteral("Creating an editor page: ") + QString::fromStdString(message));
        }
        ShowErrorBox(message);
        return nullptr;
    }
}

std::shared_ptr<IEditor> TEditorFactory::GetEditor(int index)
{
    if (index < 0 || index >= GetEditorCount()) {
        return nullptr;
    }
    return FEditors[static_cast<std::size_t>(index)];
}

void TEditorFactory::RemoveEditor(const std::shared_ptr<IEditor>& editor)
{
    const auto found = std::find_if(FEditors.begin(), FEditors.end(),
                                    [&](const std::shared_ptr<IEditor>& held) { return SamePage(held, editor); });
    if (found != FEditors.end()) {
        FEditors.erase(found);
    }
}

int TEditorFactory::CloseWithoutQuestion(const std::vector<std::shared_ptr<IEditor>>& pages)
{
    return ClosePages(pages, false);
}

int TEditorFactory::ClosePages(const std::vector<std::shared_ptr<IEditor>>& pages, bool keepInRecentFiles)
{
    int closed = 0;
    for (const std::shared_ptr<IEditor>& page : pages) {
        const auto held = std::find_if(FEditors.begin(), FEditors.end(),
                                       [&](const std::shared_ptr<IEditor>& editor) { return SamePage(editor, page); });
        if (held == FEditors.end()) {
            continue;
        }
        // Every page the factory holds is one of its own making.
        const auto editor = std::static_pointer_cast<TEditor>(*held);
        if (editor->Form) {
            editor->Form->CloseWithoutQuestion(keepInRecentFiles);
            ++closed;
        }
    }
    return closed;
}

TEditorForm* TEditorFactory::CreateForm(TEditorForm::TKind kind, QWidget* parent)
{
    return TEditorForm::Create(kind, parent);
}

std::shared_ptr<IEditor> TEditorFactory::Add(TEditorForm& form)
{
    std::shared_ptr<IEditor> editor = form.Editor()->Interfaces().Editor;
    FEditors.push_back(editor);
    return editor;
}

void InstallEditorFactory()
{
    EditorFactory = std::make_shared<TEditorFactory>();
}

#pragma once
// The editor factory: makes editor pages in a tab sheet of a page control (the one
// placement the application uses), as a borderless form inside a parent, or as a
// multiple-document child; keeps the open pages in creation order; asks or closes them
// all, last first. A page leaves the list when its form is destroyed.
//
// A tab sheet frees itself, and the page form in it, when its close event arrives
// through the event loop (the form cannot free itself while it is closing), so the
// page count drops only once that event is handled. The event loop must be installed.

#include "app/pages/EditorForm.h"
#include "app/pages/EditorInterfaces.h"

#include "platform/core/services/EventLoop.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class TEditorTabSheet : public QWidget, public TEventTarget {
public:
    explicit TEditorTabSheet(QTabWidget& pageControl);
    QTabWidget& PageControl() const { return FPageControl; }
    // The page form the sheet holds; nullptr before it is made and once it is gone.
    TEditorForm* Form() const { return FForm; }
    void SetForm(TEditorForm* form) { FForm = form; }
    void SetCaption(const QString& caption);
    // Frees the sheet from the event loop.
    void PostClose();
    void HandleEvent(const TLoopEvent& event) override;

private:
    QTabWidget& FPageControl;
    QPointer<TEditorForm> FForm;
    TEventType FCloseEvent;
};

class TEditorFactory : public IEditorFactory {
public:
    bool CanCloseAll() override;
    // Closes every page, last first, without the save question: the program ends, and
    // the main window asked CanCloseAll before.
    void CloseAll() override;
    std::shared_ptr<IEditor> CreateBorderless(QWidget* parent) override;
    std::shared_ptr<IEditor> CreateMDIChild(QWidget* owner) override;
    // A failure is logged and shown; the sheet goes again and the result is empty.
    std::shared_ptr<IEditor> CreateTabSheet(QTabWidget* pageControl) override;
    int GetEditorCount() override { return static_cast<int>(FEditors.size()); }
    std::shared_ptr<IEditor> GetEditor(int index) override;
    void RemoveEditor(const std::shared_ptr<IEditor>& editor) override;
    int CloseWithoutQuestion(const std::vector<std::shared_ptr<IEditor>>& pages) override;

protected:
    // The page's form; a test factory makes it fail.
    virtual TEditorForm* CreateForm(TEditorForm::TKind kind, QWidget* parent);

private:
    std::shared_ptr<IEditor> Add(TEditorForm& form);
    // Closes those of the pages the factory holds, in the given order, without the save
    // question; answers how many began to close.
    int ClosePages(const std::vector<std::shared_ptr<IEditor>>& pages, bool keepInRecentFiles);
    std::vector<std::shared_ptr<IEditor>> FEditors;
};

// The editor-page unit's start: a factory into EditorFactory.
void InstallEditorFactory();

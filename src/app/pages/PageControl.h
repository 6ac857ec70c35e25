#pragma once
// The main window's page control: a tab widget whose user may be refused a change of
// page (OnChanging answers false, as while a run goes; changes by code always go
// through), and on whose tabs a right-button press first activates the tab under the
// mouse, as a left click would, before the tab popup shows. Its page keys, Ctrl+Tab and
// Ctrl+PgDn forward, Ctrl+Shift+Tab and Ctrl+PgUp back, turn the page round the ends,
// past disabled tabs; with fewer than two pages Ctrl+PgUp and Ctrl+PgDn are left to the
// control that has the focus, and Ctrl+Tab and Ctrl+Shift+Tab do nothing. A page's
// editor hands them to it (EditorForm.h).

#include <QTabWidget>

#include <functional>

class QKeyEvent;
class QMenu;

// +1 for a key that turns to the next page, -1 for one that turns back, else 0.
int PageKeyStep(const QKeyEvent& key);

class TPageControl : public QTabWidget {
public:
    explicit TPageControl(QWidget* parent = nullptr);

    // Whether the user may change the page now; nothing set allows it.
    std::function<bool()> OnChanging;
    // Shown on a right click on the tabs.
    QMenu* PopupMenu = nullptr;

    bool AllowChange() const { return !OnChanging || OnChanging(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

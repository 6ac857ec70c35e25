#pragma once
// The main window's page control: a tab widget whose user may be refused a change of
// page (OnChanging answers false, as while a run goes; changes by code always go
// through), and on whose tabs a right-button press first activates the tab under the
// mouse, as a left click would, before the tab popup shows.

#include <QTabWidget>

#include <functional>

class QMenu;

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

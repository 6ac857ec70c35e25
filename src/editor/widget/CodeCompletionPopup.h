#pragma once
// The completion list's window: a frameless tool window that stays on top and never
// takes the focus (the editor keeps it and hands its keys on through the key route).
// It places itself on the screen of the point it opens at (the screen's available
// geometry is the work area), paints the form on a Qt canvas, and turns its scroll bar,
// clicks, double clicks and wheel into the form's calls.

#include "editor/completion/CodeCompletionKeyRoute.h"
#include "editor/completion/CodeCompletionWindow.h"

#include <QWidget>

#include <memory>

class QScrollBar;
class TCanvas;

class TCodeCompletionPopup : public QWidget, public ICodeCompletionWindow {
public:
    // Becomes the form's window until it goes; the measuring canvas must be installed.
    explicit TCodeCompletionPopup(TCodeBaseCompletionProposalForm& form);
    ~TCodeCompletionPopup() override;

    QScrollBar* ScrollBar() const { return scrollBar_; }

    // --- ICodeCompletionWindow ---
    TRect WorkAreaAt(TScreenPoint point) const override;
    int TextWidth(const TFont& font, TFontStyles style, const QString& text) const override;
    int TextHeight(const TFont& font, const QString& text) const override;
    int ScrollBarWidth() const override;
    int WheelScrollLines() const override;
    bool ApplicationActive() const override;
    void SetBounds(const TRect& bounds) override;
    void SetStayOnTop(bool on) override;
    void Show(bool activate) override;
    void Hide() override;
    void SetFocus() override;
    void Invalidate() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SyncScrollBar();
    TCanvas& Measure() const;

    TCodeBaseCompletionProposalForm& form_;
    TCodeCompletionKeyRoute route_;
    QScrollBar* scrollBar_;
    bool syncing_ = false;
    mutable std::unique_ptr<TCanvas> measure_;
};

#pragma once
// Tips of the day: a list of tip texts, the current one, whether to show them at
// start-up, and the "Tip of the Day" window that shows one at a time. The window is
// made when the tips are shown and released when it closes; closing it (its Close
// button, Escape, the window manager's close) fires OnCloseDialog first, so the owner
// can store the settings.

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

enum class TGlyphStyle { gsLightBulb, gsClown, gsHelp, gsArrow, gsTorch, gsCustom };

class TTipWindow;

class TTips {
public:
    TTips();
    // Closes an open window: its buttons would call back into this object.
    ~TTips();
    TTips(const TTips&) = delete;
    TTips& operator=(const TTips&) = delete;

    // -1 while no tip was chosen. A value above the last index wraps to 0 (also with an
    // empty list); an open window shows the new tip at once.
    int CurrentTip() const { return FCurrentTip; }
    void SetCurrentTip(int value);
    // The text of the current tip; empty when it is outside the list.
    QString CurrentTipText() const;

    const QStringList& Tips() const { return FTips; }
    // A current tip above the new last index becomes the last index.
    void SetTips(const QStringList& tips);

    // Setting a glyph switches the style to gsCustom.
    const QPixmap& Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    TGlyphStyle GlyphStyle() const { return FGlyphStyle; }
    void SetGlyphStyle(TGlyphStyle style) { FGlyphStyle = style; }
    // The icon the window draws: the style's own, or Glyph for gsCustom.
    QPixmap Icon() const;

    bool ShowOnStartup = true;
    bool UseRegistry = false;
    // Tips come from the values of key RegParentKey\RegSubKey under the current user's
    // root of the registry store.
    QString RegParentKey;
    QString RegSubKey;

    std::function<void()> OnNextTip;
    std::function<void()> OnCloseDialog;

    // The owner's end of loading: reads the registry when asked to.
    void Loaded();
    // Appends the values of the registry key, in order, when UseRegistry is set and both
    // key names are given.
    void LoadFromRegistry();

    void Execute() { ShowTips(); }
    // Shows the window, or brings an open one to the front.
    void ShowTips();
    // What the window's buttons do.
    void NextTip();
    void CloseDialog();

    TTipWindow* Window() const;

private:
    int FCurrentTip = -1;
    QStringList FTips;
    QPixmap FGlyph;
    TGlyphStyle FGlyphStyle = TGlyphStyle::gsLightBulb;
    QPointer<TTipWindow> FWindow;
};

// How a window shares its width between its side and its panel (the editor and the
// preview, the plug-in page and its buffer): any stored width fitted to the window
// from the panel's least width up, a window too narrow for both, a window made
// narrower to fit its screen, what is kept for the next start, and the two buttons
// that narrow and fold either side.

#include "app/run/PanelSplit.h"
#include "app/shell/WindowBounds.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <ostream>
#include <vector>

std::ostream& operator<<(std::ostream& out, const TPanelWidths& w)
{
    return out << w.Side << "+" << w.Panel;
}

namespace {

TEST(PanelSplit, AStoredWidthFitsTheWindowFromThePanelsLeastUp)
{
    const struct {
        const char* what;
        int total, wanted, leastPanel, leastSide;
        TPanelWidths split;
    } cases[] = {
        {"as stored", 1000, 560, 20, 30, {440, 560}},
        {"beyond the window: the side keeps its least", 1000, INT_MAX, 20, 30, {30, 970}},
        {"one pixel too wide", 980, 381, 270, 600, {600, 380}},
        {"exactly what leaves the side its least", 980, 380, 270, 600, {600, 380}},
        {"exactly the panel's least", 980, 270, 270, 600, {710, 270}},
        {"a missing key's 50, under the buttons' 270", 980, 50, 270, 600, {710, 270}},
        {"none", 980, 0, 270, 600, {710, 270}},
        {"negative", 1000, INT_MIN, 20, 30, {980, 20}},
        {"too narrow for both: each keeps the same share of its least", 40, 300, 20, 30, {24, 16}},
        {"a main window of 600 pixels", 600, 700, 599, 150, {121, 479}},
        {"least widths near INT_MAX", 1000, 500, INT_MAX, INT_MAX, {500, 500}},
        {"least widths below 0 count as none", 1000, 2000, -5, -5, {0, 1000}},
        {"no room", 0, 300, 20, 30, {0, 0}},
        {"less than none", -5, 300, 20, 30, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitPanel(c.total, c.wanted, c.leastPanel, c.leastSide), c.split) << c.what;
    }
}

TEST(PanelSplit, AWindowMadeNarrowerToFitKeepsThePanelsShareAboveItsLeast)
{
    // As the windows read their settings on a screen of 1280 x 1024: the bounds fitted
    // to it, the panel's share of a window made narrower, then the least widths (the
    // buffer's buttons 270 beside a page of 600, or the preview's controls 599 beside an
    // editor of 150).
    const std::vector<TWindowBounds> screen = {{0, 0, 1280, 1024}};
    const struct {
        const char* what;
        TWindowBounds stored;
        int wanted, leastPanel, leastSide;
        int shown;
    } cases[] = {
        {"a missing key's 50", {96, 48, 988, 585}, 50, 270, 600, 270},
        {"twice the screen: half of 310 is under the buttons", {0, 0, 2560, 1400}, 310, 270, 600, 270},
        {"twice the screen: half of 700 is above them", {0, 0, 2560, 1400}, 700, 270, 600, 350},
        {"the largest window keeps no share of 312", {0, 0, INT_MAX, INT_MAX}, 312, 270, 600, 270},
        {"nor of 700", {0, 0, INT_MAX, INT_MAX}, 700, 599, 150, 599},
        {"every value INT_MAX", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, INT_MAX, 599, 150, 1130},
        {"a window that fits keeps what was stored", {0, 0, 1200, 760}, 560, 270, 600, 560},
        {"and is raised to the least", {0, 0, 1200, 760}, 560, 599, 150, 599},
    };
    for (const auto& c : cases) {
        const TWindowBounds fitted = FitWindowBounds(c.stored, screen);
        const TPanelWidths w = FitPanel(fitted.Width, FittedPanelWidth(c.wanted, c.stored, fitted), c.leastPanel, c.leastSide);
        EXPECT_EQ(w, (TPanelWidths{fitted.Width - c.shown, c.shown})) << c.what;
    }
}

TEST(PanelSplit, EachWindowSharesTheWidthItsScreenGivesIt)
{
    // The main window (its preview's controls wrap down to 298 pixels, the editor's
    // least is 150) and the plug-in window (the buffer's buttons in two rows need 270,
    // the page's buttons 291) opened without settings, with the shipped ones and with
    // what a larger screen left behind. On 800 x 600 the shipped preview leaves the
    // editor 427 pixels, some 45 characters; where a window cannot hold both sides'
    // least widths (the plug-in window on 480), each gives up the same share of its own.
    const struct {
        const char* what;
        TWindowBounds stored;
        int ownWidth, panel, leastPanel, leastSide;
        int shown[5]; // on screens 1600, 1024, 800, 640 and 480 pixels wide
    } cases[] = {
        {"main window, no settings", {}, 1200, 50, 298, 150, {298, 298, 298, 298, 298}},
        {"main window, shipped", {0, 0, 1200, 760}, 1200, 560, 298, 150, {560, 477, 373, 298, 298}},
        {"main window, a larger screen's", {0, 0, 2400, 1500}, 1200, 1000, 298, 150, {666, 426, 333, 298, 298}},
        {"plug-in window, no settings", {}, 988, 50, 270, 291, {270, 270, 270, 270, 231}},
        {"plug-in window, shipped", {}, 988, 310, 270, 291, {310, 310, 270, 270, 231}},
        {"plug-in window, a larger screen's", {0, 0, 2000, 1200}, 988, 700, 270, 291, {560, 358, 280, 270, 231}},
    };
    const int screenWidths[] = {1600, 1024, 800, 640, 480};
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < std::size(screenWidths); ++i) {
            const std::vector<TWindowBounds> screen = {{0, 0, screenWidths[i], screenWidths[i] * 3 / 4}};
            const TWindowBounds asked = AskedWindowBounds(c.stored, c.ownWidth, 600, screen);
            const TWindowBounds fitted = FitWindowBounds(asked, screen);
            const TPanelWidths w =
                FitPanel(fitted.Width, FittedPanelWidth(c.panel, asked, fitted), c.leastPanel, c.leastSide);
            EXPECT_EQ(w.Panel, c.shown[i]) << c.what << " on " << screenWidths[i];
            EXPECT_EQ(w.Side + w.Panel, fitted.Width) << c.what << " on " << screenWidths[i];
            // The next start keeps what shows where both sides fit, and never more than
            // the screen's width.
            const int kept = KeptPanelWidth(fitted.Width, w.Panel, c.leastPanel, c.leastSide);
            EXPECT_LE(kept, fitted.Width) << c.what << " on " << screenWidths[i];
            if (fitted.Width >= c.leastPanel + c.leastSide) {
                EXPECT_EQ(kept, w.Panel) << c.what << " on " << screenWidths[i];
            }
        }
    }
}

TEST(PanelSplit, WhatIsKeptForTheNextStartShowsBothSidesWhole)
{
    // 1192 pixels, the preview's least 599, the editor's 123.
    const struct {
        const char* what;
        int total, shown;
        int kept;
    } cases[] = {
        {"as it shows", 1192, 700, 700},
        {"the preview folded to its bar", 1192, 24, 599},
        {"the preview at the editor settings' 100", 1192, 100, 599},
        {"the editor folded to the bar", 1192, 1168, 1069},
        {"the editor at its least", 1192, 1069, 1069},
        {"a window too narrow for both", 600, 479, 599},
        {"no window", 0, 0, 599},
        {"the largest window", INT_MAX, INT_MAX, INT_MAX - 123},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeptPanelWidth(c.total, c.shown, 599, 123), c.kept) << c.what;
    }
}

TEST(PanelSplit, EachPressNarrowsThenFoldsOneSide)
{
    // Editor 600, preview 400, the bar 20 wide, minimum editor 300, minimum preview 100.
    TPanelWidths w{600, 400};
    w = EnlargePreview(w, 300, 20);
    EXPECT_EQ(w, (TPanelWidths{300, 700}));
    w = EnlargePreview(w, 300, 20);
    EXPECT_EQ(w, (TPanelWidths{20, 980}));
    w = EnlargeEditor(w, 300, 100, 20);
    EXPECT_EQ(w, (TPanelWidths{300, 700})) << "an editor narrower than its minimum comes back to it";
    w = EnlargeEditor(w, 300, 100, 20);
    EXPECT_EQ(w, (TPanelWidths{900, 100}));
    w = EnlargeEditor(w, 300, 100, 20);
    EXPECT_EQ(w, (TPanelWidths{980, 20}));
    // Minimums below 1 are the settings' defaults; a side never goes below 0.
    EXPECT_EQ(EnlargePreview({250, 750}, 0, 20), (TPanelWidths{300, 700}));
    EXPECT_EQ(EnlargeEditor({10, 30}, 0, -5, 20), (TPanelWidths{40, 0}));
}

} // namespace

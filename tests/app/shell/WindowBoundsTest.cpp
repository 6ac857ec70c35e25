// Stored window bounds fitted to the screens: any integers a settings file may hold
// (an edited file, a monitor unplugged since) give a window a screen shows, no larger
// than that screen, without overflowing on the way; a side panel keeps its share of a
// window made narrower; a window manager's bars take their strips off a screen.

#include "app/shell/WindowBounds.h"
#include "app/shell/WindowFrame.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const TWindowBounds& b)
{
    return out << b.Left << "," << b.Top << " " << b.Width << "x" << b.Height << " max " << b.Maximized;
}

namespace {

// A primary screen with a task bar at its bottom, one to its right and one to its left
// that starts lower down.
const std::vector<TWindowBounds> Screens = {{0, 0, 1600, 1170}, {1600, 0, 1280, 1024}, {-1280, 200, 1280, 1024}};

TEST(WindowBounds, FitsAnyStoredBoundsOntoAScreen)
{
    const struct {
        const char* what;
        TWindowBounds stored;
        TWindowBounds fitted;
    } cases[] = {
        {"no size: nothing to place", {5, 5, 0, 600, 1}, {5, 5, 0, 600, 1}},
        {"on the primary", {100, 100, 800, 600, 0}, {100, 100, 800, 600, 0}},
        {"on the right screen", {1700, 50, 1000, 700, 1}, {1700, 50, 1000, 700, 1}},
        {"on the lower left screen", {-1000, 300, 800, 600, 0}, {-1000, 300, 800, 600, 0}},
        {"across two screens, the one with more of it holds it", {1500, 100, 800, 600, 0}, {1500, 100, 800, 600, 0}},
        {"a small window", {10, 10, 60, 40, 0}, {10, 10, 60, 40, 0}},
        {"far right, near INT_MAX", {2147483000, 0, 1600, 900, 0}, {0, 135, 1600, 900, 0}},
        {"every value INT_MAX", {INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1}, {0, 0, 1600, 1170, 1}},
        {"larger than any screen", {0, 0, 100000, 100000, 0}, {0, 0, 1600, 1170, 0}},
        {"wider than the right screen", {2000, 10, 5000, 500, 0}, {1600, 10, 1280, 500, 0}},
        {"made smaller, comes inside", {-98500, 100, 100000, 600, 0}, {0, 100, 1600, 600, 0}},
        {"beyond the right screen", {3000, 10, 1000, 700, 0}, {300, 235, 1000, 700, 0}},
        {"above and left of everything", {-5000, -5000, 800, 600, 0}, {400, 285, 800, 600, 0}},
        {"far negative", {INT_MIN, INT_MIN, 800, 600, 0}, {400, 285, 800, 600, 0}},
        {"its title above the screen", {100, -50, 800, 600, 0}, {400, 285, 800, 600, 0}},
        {"a sliver of 50 pixels", {-750, 100, 800, 600, 0}, {400, 285, 800, 600, 0}},
        {"below the bottom of every screen", {100, 1300, 800, 600, 0}, {400, 285, 800, 600, 0}},
    };
    for (const auto& c : cases) {
        const TWindowBounds fitted = FitWindowBounds(c.stored, Screens);
        EXPECT_EQ(fitted, c.fitted) << c.what;
        if (c.stored.HasBounds()) {
            bool shown = false;
            for (const TWindowBounds& area : Screens) {
                shown = shown || ScreenShows(area, fitted);
            }
            EXPECT_TRUE(shown) << c.what;
        }
    }
}

TEST(WindowBounds, TheHoldOfAScreenIsItsTopEdgeAndAHundredPixelsEachWay)
{
    const TWindowBounds area{0, 0, 800, 600, 0};
    const struct {
        TWindowBounds bounds;
        bool shown;
    } cases[] = {
        {{700, 500, 400, 300}, true},    {{701, 500, 400, 300}, false}, {{700, 501, 400, 300}, false},
        {{-300, 0, 400, 300}, true},     {{-301, 0, 400, 300}, false},  {{0, -1, 400, 300}, false},
        {{0, 599, 400, 300}, false},     {{0, 540, 400, 60}, true},     {{780, 0, 20, 20}, true},
        {{781, 0, 20, 20}, false},       {{INT_MAX, INT_MAX, INT_MAX, INT_MAX}, false},
        {{INT_MIN, 0, INT_MAX, 300}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScreenShows(area, c.bounds), c.shown) << c.bounds;
    }
}

TEST(WindowBounds, WithoutScreensOnlyTheEdgesStayIntegers)
{
    EXPECT_EQ(FitWindowBounds({INT_MAX, INT_MAX, 10, 20, 0}, {}), (TWindowBounds{INT_MAX - 10, INT_MAX - 20, 10, 20, 0}));
    EXPECT_EQ(FitWindowBounds({-5000, 3000, 10, 20, 1}, {}), (TWindowBounds{-5000, 3000, 10, 20, 1}));
}

TEST(WindowBounds, AWindowOpensNoLargerThanTheScreenItOpensOn)
{
    // The main window's own size, the plug-in window's, bounds a larger screen left
    // behind and bounds that fit most screens, on the screens a user may have (one with
    // a panel along its top).
    const TWindowBounds none{};
    const TWindowBounds larger{300, 200, 2400, 1500, 0};
    const TWindowBounds small{30, 40, 700, 500, 1};
    const struct {
        TWindowBounds screen;
        TWindowBounds mainWindow, plugIns, larger, small; // as they open
    } cases[] = {
        {{0, 0, 1024, 768}, {0, 0, 1024, 760}, {0, 0, 988, 585}, {0, 0, 1024, 768}, {30, 40, 700, 500, 1}},
        {{0, 0, 800, 600}, {0, 0, 800, 600}, {0, 0, 800, 585}, {0, 0, 800, 600}, {30, 40, 700, 500, 1}},
        {{0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480, 1}},
        {{0, 30, 1024, 738}, {0, 30, 1024, 738}, {0, 30, 988, 585}, {0, 30, 1024, 738}, {30, 40, 700, 500, 1}},
    };
    for (const auto& c : cases) {
        const std::vector<TWindowBounds> screens = {c.screen};
        const auto opened = [&](const TWindowBounds& stored, int width, int height) {
            return FitWindowBounds(AskedWindowBounds(stored, width, height, screens), screens);
        };
        EXPECT_EQ(opened(none, 1200, 760), c.mainWindow) << c.screen;
        EXPECT_EQ(opened(none, 988, 585), c.plugIns) << c.screen;
        EXPECT_EQ(opened(larger, 1200, 760), c.larger) << c.screen;
        EXPECT_EQ(opened(small, 1200, 760), c.small) << c.screen;
    }
    // Without bounds the window asks for its own size; Maximized stays as stored.
    EXPECT_EQ(AskedWindowBounds({7, 8, 0, 600, 1}, 988, 585, {}), (TWindowBounds{0, 0, 988, 585, 1}));
    EXPECT_EQ(AskedWindowBounds(small, 988, 585, {}), small);
}

// A window about to show (a dialog centred over the main window, a window of its own
// size) lies wholly on the screen that shows most of it.
TEST(WindowBounds, AShownWindowLiesWhollyInsideItsScreen)
{
    const struct {
        const char* what;
        TWindowBounds shown;
        TWindowBounds inside;
    } cases[] = {
        {"inside already", {100, 100, 391, 702, 0}, {100, 100, 391, 702, 0}},
        {"past the primary's bottom", {100, 600, 391, 702, 0}, {100, 468, 391, 702, 0}},
        {"taller than the screen", {0, 0, 460, 1570, 0}, {0, 0, 460, 1170, 0}},
        {"past the right screen's right edge", {2700, 10, 400, 300, 0}, {2480, 10, 400, 300, 0}},
        {"most of it on the right screen", {1500, 900, 600, 300, 0}, {1600, 724, 600, 300, 0}},
        {"past the left screen's left edge", {-1300, 300, 400, 300, 0}, {-1280, 300, 400, 300, 0}},
        {"nowhere: centred on the primary", {9000, 9000, 300, 200, 1}, {650, 485, 300, 200, 1}},
        {"no size", {9000, 9000, 0, 0, 0}, {9000, 9000, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InsideScreenBounds(c.shown, Screens), c.inside) << c.what;
    }
    EXPECT_EQ(InsideScreenBounds({5, 5, 10, 20, 0}, {}), (TWindowBounds{5, 5, 10, 20, 0}));
}

// A window the window manager placed is moved by as little as it must to lie on the
// screen, never centred: fluxbox shows a window it places above the screen for a moment.
TEST(WindowBounds, AWindowTheWindowManagerPlacedMovesInsideByAsLittleAsItMust)
{
    const struct {
        const char* what;
        TWindowBounds placed;
        TWindowBounds inside;
    } cases[] = {
        {"inside already", {100, 100, 1200, 760, 0}, {100, 100, 1200, 760, 0}},
        {"its frame above the screen", {-1, -21, 1200, 760, 0}, {0, 0, 1200, 760, 0}},
        {"larger than the screen", {-5, -30, 1700, 1300, 0}, {0, 0, 1600, 1170, 0}},
        {"most of it on the right screen", {1500, 900, 600, 300, 0}, {1600, 724, 600, 300, 0}},
        {"above the left screen", {-1000, 0, 400, 300, 0}, {-1000, 200, 400, 300, 0}},
        {"nowhere: on the primary's nearest edge", {9000, 9000, 300, 200, 1}, {1300, 970, 300, 200, 1}},
        {"no size", {9000, 9000, 0, 0, 0}, {9000, 9000, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MovedInsideScreen(c.placed, Screens), c.inside) << c.what;
    }
    EXPECT_EQ(MovedInsideScreen({-5, -5, 10, 20, 0}, {}), (TWindowBounds{-5, -5, 10, 20, 0}));
}

// A window manager without a work area (dwm) draws a bar across a screen's top or
// bottom; windows are fitted to what it leaves. Left of the primary of Screens, a
// second screen starts lower down.
TEST(WindowBounds, TheWindowManagersBarsAreNoPartOfTheArea)
{
    const TWindowBounds primary{0, 0, 1600, 1000, 0};
    const TWindowBounds lower{-1280, 200, 1280, 1024, 0};
    const TWindowBounds top{0, 0, 1600, 19, 0};
    const struct {
        const char* what;
        TWindowBounds area;
        std::vector<TWindowBounds> bars;
        TWindowBounds beside;
    } cases[] = {
        {"no bar", primary, {}, primary},
        {"along the top", primary, {top}, {0, 19, 1600, 981, 0}},
        {"along the bottom", primary, {{0, 981, 1600, 19, 0}}, {0, 0, 1600, 981, 0}},
        {"both", primary, {{0, 981, 1600, 19, 0}, top}, {0, 19, 1600, 962, 0}},
        {"hidden above the screen", primary, {{0, -19, 1600, 19, 0}}, primary},
        {"across the top of a panel's area", {0, 10, 1600, 990, 0}, {top}, {0, 19, 1600, 981, 0}},
        {"inside a work area already", {0, 19, 1600, 981, 0}, {top}, {0, 19, 1600, 981, 0}},
        {"the other screen's", lower, {top}, lower},
        {"its own screen's", lower, {{-1280, 200, 1280, 19, 0}, top}, {-1280, 219, 1280, 1005, 0}},
        {"narrower than the screen", primary, {{0, 0, 1200, 19, 0}}, primary},
        {"across the middle", primary, {{0, 400, 1600, 19, 0}}, primary},
        {"most of the screen: no bar", primary, {{0, 0, 1600, 600, 0}}, primary},
        {"half of it", primary, {{0, 0, 1600, 500, 0}}, {0, 500, 1600, 500, 0}},
        {"at the ends of the int range", {INT_MAX - 100, INT_MAX - 50, 100, 50, 0},
         {{INT_MAX - 100, INT_MAX - 10, 100, 10, 0}}, {INT_MAX - 100, INT_MAX - 50, 100, 40, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AreaBesideBars(c.area, c.bars), c.beside) << c.what;
    }
}

TEST(WindowBounds, APanelKeepsItsShareOfAWindowMadeNarrower)
{
    const struct {
        int panel;
        TWindowBounds stored;
        int fitted;
    } cases[] = {
        {1900, {0, 0, 3800, 2000, 0}, 800}, // a larger monitor's half, on the 1600 of the primary
        {560, {0, 0, 1200, 760, 0}, 560},
        {INT_MAX, {0, 0, INT_MAX, INT_MAX, 0}, 1600},
        {1900, {0, 0, 3800, 0, 0}, 1900}, // no stored size: nothing was fitted
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FittedPanelWidth(c.panel, c.stored, FitWindowBounds(c.stored, Screens)), c.fitted) << c.panel;
    }
}

// A window is asked for its bounds until it has them, with the frame the window manager
// draws now, but not again before the window manager has answered, nor forever; one the
// window manager left as it was every time stays there, and so does one the user moved
// before it was asked while the window manager never said its frame.
TEST(WindowBounds, AWindowIsAskedForItsBoundsUntilItHasThem)
{
    const QRect wanted(100, 80, 1200, 760);
    const QMargins frame(1, 20, 1, 5);     // normal
    const QMargins maximised(0, 20, 0, 0); // what openbox still says as it restores
    const TSeenFrame placed{frame, wanted.marginsRemoved(frame), true};
    const TSeenFrame elsewhere{frame, QRect(0, 19, 1600, 955), true};
    const QRect restoring(0, 20, 1600, 980);
    const struct {
        const char* what;
        TSeenFrame seen;
        TBoundsAsk ask;
        TSettleStep step;
    } cases[] = {
        {"placed", placed, {}, TSettleStep::Done},
        {"placed after two requests", placed, {2, elsewhere.Inner, frame}, TSettleStep::Done},
        {"never asked", elsewhere, {}, TSettleStep::Ask},
        {"no answer yet", elsewhere, {1, elsewhere.Inner, frame}, TSettleStep::Wait},
        {"asked with the frame of the maximised window", elsewhere, {1, elsewhere.Inner, maximised}, TSettleStep::Ask},
        {"placed otherwise than asked", elsewhere, {1, restoring, frame, false, true}, TSettleStep::Ask},
        {"asked as often as it may be", elsewhere, {MaxBoundsAsks, restoring, maximised}, TSettleStep::GiveUp},
        {"no answer to the last request", elsewhere, {MaxBoundsAsks, elsewhere.Inner, frame}, TSettleStep::Wait},
        // A window manager that never answers (tiling dwm) is not waited for for good.
        {"no answer in the time allowed", elsewhere, {1, elsewhere.Inner, frame, true}, TSettleStep::GiveUp},
        {"placed otherwise after the time allowed", elsewhere, {1, restoring, frame, true, true}, TSettleStep::Ask},
        {"asked with another frame, answered after the time allowed", elsewhere, {1, restoring, maximised, true},
         TSettleStep::Ask},
        // The window manager's answer, or what came before it.
        {"moved before the answer came", elsewhere, {1, restoring, frame}, TSettleStep::Wait},
        // Tiling dwm leaves a tiled window as it was; under load a notice sent before the
        // window manager read the request comes after it.
        {"left as it was", elsewhere, {1, elsewhere.Inner, frame, false, true}, TSettleStep::Ask},
        {"left as it was as often as it may be asked", elsewhere, {MaxBoundsAsks, elsewhere.Inner, frame, false, true},
         TSettleStep::GiveUp},
        {"placed otherwise as often as it may be asked", elsewhere, {MaxBoundsAsks, restoring, frame, false, true},
         TSettleStep::GiveUp},
        // Before the first request: where it first showed, and whether its frame was
        // awaited past the time allowed.
        {"first seen where it showed", elsewhere, {0, elsewhere.Inner, {}, false}, TSettleStep::Ask},
        {"first seen where it showed, its frame never said", elsewhere, {0, elsewhere.Inner, {}, true},
         TSettleStep::Ask},
        {"moved since it showed while its frame came in time", elsewhere, {0, restoring, {}, false},
         TSettleStep::Ask},
        {"moved since it showed, its frame never said", elsewhere, {0, restoring, {}, true}, TSettleStep::GiveUp},
        {"its first place unknown, its frame never said", elsewhere, {0, {}, {}, true}, TSettleStep::Ask},
        {"moved to where it was wanted, its frame never said", placed, {0, restoring, {}, true},
         TSettleStep::Done},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettleStep(wanted, c.seen, c.ask), c.step) << c.what;
    }
}

// A window in its normal state with the frame it had maximised is caught between the
// window manager's two messages, and is neither settled nor recorded so; a window
// manager that draws one frame for both states is believed at once.
TEST(WindowBounds, ANormalWindowWithItsMaximisedFrameIsBetweenTwoStates)
{
    const QMargins frame(1, 20, 1, 5);
    const QMargins maximised(0, 20, 0, 0);
    const QRect inner(101, 100, 1198, 735);
    const struct {
        const char* what;
        TSeenFrame seen;
        std::optional<QMargins> maximisedFrame;
        std::optional<QMargins> normalFrame;
        bool between;
    } cases[] = {
        {"restored, the old frame still said", {maximised, inner, true}, maximised, frame, true},
        {"restored with its own frame", {frame, inner, true}, maximised, frame, false},
        {"still maximised", {maximised, inner, false, true}, maximised, frame, false},
        {"one frame for both states", {frame, inner, true}, frame, frame, false},
        {"never maximised", {maximised, inner, true}, std::nullopt, frame, false},
        {"no normal frame known yet", {maximised, inner, true}, maximised, std::nullopt, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowsMaximisedFrame(c.seen, c.maximisedFrame, c.normalFrame), c.between) << c.what;
    }
}

// A window seen maximised with the frame of its normal state is on its way between the
// states, and the frame it had maximised stays: openbox and fluxbox put back the normal
// frame before they say a window is no longer maximised, and every later sight of the
// restored window was taken for such a step. Never seen in its normal state, the window
// takes the largest sight: fluxbox was seen maximising a window started maximised with
// its normal frame and size first, and restoring it so before it says its state.
TEST(WindowBounds, AMaximisedWindowWithItsNormalFrameKeepsItsMaximisedFrame)
{
    const QMargins frame(1, 20, 1, 5);
    const QMargins maximised(0, 19, 0, 0);
    const QMargins otherMaximised(0, 20, 0, 2);
    const TSeenFrame maximisedSight{maximised, QRect(0, 19, 1280, 1005), false, true, true};
    const TSeenFrame restoring{frame, QRect(61, 70, 1280, 1005), false, true, true};
    const TSeenFrame otherSight{otherMaximised, QRect(0, 20, 1280, 1002), false, true, true};
    const TSeenFrame normalSized{frame, QRect(101, 99, 1198, 736), false, true, true};
    const struct {
        const char* what;
        TSeenFrame seen;
        std::optional<TSeenFrame> before;
        std::optional<QMargins> normalFrame;
        std::optional<QMargins> taken;
    } cases[] = {
        {"first seen maximised", maximisedSight, std::nullopt, frame, maximised},
        {"first seen maximised, never normal", maximisedSight, std::nullopt, std::nullopt, maximised},
        {"being restored", restoring, maximisedSight, frame, maximised},
        {"being restored, never normal", restoring, maximisedSight, std::nullopt, maximised},
        {"being restored to its normal size, never normal", normalSized, maximisedSight, std::nullopt, maximised},
        {"being maximised, its frame not yet changed", restoring, std::nullopt, frame, std::nullopt},
        {"maximised after a step with the normal frame and size, never normal", maximisedSight, normalSized,
         std::nullopt, maximised},
        {"given another maximised frame", otherSight, maximisedSight, frame, otherMaximised},
        {"one frame for both states", {frame, QRect(1, 20, 1278, 979), false, true, true}, std::nullopt, frame,
         std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<TSeenFrame> taken = MaximisedSightTaken(c.seen, c.before, c.normalFrame);
        EXPECT_EQ(taken ? std::optional(taken->Frame) : std::nullopt, c.taken) << c.what;
    }
}

// A window closed maximised comes back to the bounds it had before the window manager
// began to maximise it, not to a sight caught on the way: fluxbox moves it to the top,
// then makes it as tall and then as wide as the area before it says it is maximised,
// and openbox gives it its maximised frame first. A place the user gave it, and a
// sight that shares a value with the maximised window only by chance, stay.
TEST(WindowBounds, AWindowMaximisedComesBackToWhereItWasBeforeTheWindowManagerBegan)
{
    const QMargins frame(1, 20, 1, 4);
    const QMargins maximisedFrame(0, 20, 0, 0);
    const TSeenFrame maximised{frame, QRect(1, 20, 1598, 956), false, true, true};
    const TSeenFrame openboxMaximised{maximisedFrame, QRect(0, 20, 1600, 960), false, true, true};
    const auto at = [&](int x, int y, int w, int h) { return TSeenFrame{frame, QRect(x, y, w, h), true, false, true}; };
    const TSeenFrame normal = at(101, 100, 1198, 736);
    const TSeenFrame moved = at(301, 150, 1198, 736);
    const TSeenFrame toTheTop = at(101, 20, 1198, 736);
    const TSeenFrame asTall = at(101, 20, 1198, 956);
    const TSeenFrame asWide = at(1, 20, 1598, 956);
    // The user's move that shares the maximised window's height by chance.
    const TSeenFrame asTallByTheUser = at(301, 150, 1198, 956);
    const TSeenFrame openboxFrameFirst{maximisedFrame, normal.Inner, true, false, true};
    const struct {
        const char* what;
        std::vector<TSeenFrame> recorded;
        TSeenFrame maximised;
        std::optional<TSeenFrame> normal;
    } cases[] = {
        {"never seen in its normal state", {}, maximised, std::nullopt},
        {"maximised at once", {normal}, maximised, normal},
        {"moved by the user, then maximised", {normal, moved}, maximised, moved},
        {"fluxbox: to the top first", {normal, toTheTop}, maximised, normal},
        {"fluxbox: to the top, as tall, as wide", {normal, toTheTop, asTall, asWide}, maximised, normal},
        {"fluxbox, after the user's move", {normal, moved, at(301, 20, 1198, 736), at(301, 20, 1198, 956)}, maximised,
         moved},
        {"given the maximised bounds before it is said so", {normal, asWide}, maximised, normal},
        {"openbox: the maximised frame first", {normal, openboxFrameFirst}, openboxMaximised, normal},
        {"as tall by the user, somewhere else", {normal, asTallByTheUser}, maximised, asTallByTheUser},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalBeforeMaximising(c.recorded, c.maximised), c.normal) << c.what;
    }
}

// A window stands where its frame is; one whose window manager has gone was handed back
// unframed at its frame's corner, and is written back with the frame it had, so that it
// comes back as it was (openbox's 1,198 x 735 and icewm's 95, 56 were a frame off).
TEST(WindowBounds, AWindowWhoseWindowManagerWentKeepsItsFrame)
{
    const QMargins openbox(1, 20, 1, 5);
    const QMargins icewm(5, 24, 5, 5);
    const QMargins dwmBorder(1, 1, 1, 1);
    const TSeenFrame framed{openbox, QRect(101, 100, 1198, 735), true, false, true};
    const TSeenFrame handedBack{{}, QRect(100, 80, 1198, 735), true, false, false};
    const TSeenFrame icewmHandedBack{{}, QRect(100, 80, 1190, 731), true, false, false};
    const TSeenFrame dwmHandedBack{{}, QRect(100, 80, 1198, 758), true, false, false};
    const struct {
        const char* what;
        TSeenFrame seen;
        std::optional<QMargins> windowManagerFrame;
        QRect standing;
    } cases[] = {
        {"framed", framed, openbox, {100, 80, 1200, 760}},
        {"framed, never seen so before", framed, std::nullopt, {100, 80, 1200, 760}},
        {"without a window manager ever", handedBack, std::nullopt, {100, 80, 1198, 735}},
        {"openbox gone", handedBack, openbox, {100, 80, 1200, 760}},
        {"icewm gone", icewmHandedBack, icewm, {100, 80, 1200, 760}},
        {"dwm gone, its border taken back", dwmHandedBack, dwmBorder, {100, 80, 1200, 760}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StandingBounds(c.seen, c.windowManagerFrame), c.standing) << c.what;
    }
}

} // namespace

// The scroll bars: their values, their codes and the hint that follows the thumb.
#include "editor/control/CodeEdit.h"

#include <cstdint>

void TCustomCodeEdit::UpdateScrollBars()
{
    if (!host_ || paintLock_ > 0) {
        SetState(sfScrollbarChanged, true);
        return;
    }
    SetState(sfScrollbarChanged, false);
    if (scrollBars_ == TScrollStyle::ssNone) {
        return;
    }
    if (scrollBars_ != TScrollStyle::ssVertical) {
        // The buffer keeps its longest line's length, so this costs no scan.
        hScroll_ = HorizontalScrollInfo(lines_->GetLengthOfLongestLine(), maxLeftChar_, charsInWindow_, leftChar_,
                                        options_);
    }
    if (scrollBars_ != TScrollStyle::ssHorizontal) {
        vScroll_ = VerticalScrollInfo(LineCount(), linesInWindow_, topLine_, options_);
    }
    host_->ScrollBarsChanged();
}

void TCustomCodeEdit::Scroll(TScrollBarKind bar, TScrollCode code, int position)
{
    const int lessOne = HasOption(eoScrollByOneLess) ? 1 : 0;
    if (bar == sbHorizontal) {
        switch (code) {
        case scLineUp: SetLeftChar(leftChar_ - 1); break;
        case scLineDown: SetLeftChar(leftChar_ + 1); break;
        case scPageUp: SetLeftChar(leftChar_ - charsInWindow_ + lessOne); break;
        case scPageDown: SetLeftChar(leftChar_ + charsInWindow_ - lessOne); break;
        case scPosition:
        case scTrack:
            SetLeftChar(ThumbToLeftChar(static_cast<std::int16_t>(position), lines_->GetLengthOfLongestLine(),
                                        maxLeftChar_, options_));
            break;
        case scTop: SetLeftChar(1); break;
        case scBottom: SetLeftChar(ViewColumns()); break;
        case scEndScroll: break;
        }
    } else {
        switch (code) {
        case scLineUp: SetTopLine(topLine_ - 1); break;
        case scLineDown: SetTopLine(topLine_ + 1); break;
        case scPageUp: SetTopLine(topLine_ - linesInWindow_ + lessOne); break;
        case scPageDown: SetTopLine(topLine_ + linesInWindow_ - lessOne); break;
        case scPosition:
        case scTrack:
            SetTopLine(ThumbToTopLine(position, LineCount(), linesInWindow_, options_));
            if (HasOption(eoShowScrollHint)) {
                ShowScrollHint(position);
            }
            break;
        case scTop: SetTopLine(1); break;
        case scBottom: SetTopLine(LineCount()); break;
        case scEndScroll:
            if (HasOption(eoShowScrollHint) && host_) {
                host_->HideScrollHint();
            }
            break;
        }
    }
    if (host_) {
        host_->UpdateWindow();
    }
}

void TCustomCodeEdit::ShowScrollHint(int trackPosition)
{
    if (!host_) {
        return;
    }
    const QString text = ScrollHintText(scrollHintFormat_, topLine_, linesInWindow_, LineCount());
    const TTextPoint size = host_->ScrollHintSize(text);
    TScrollHintGeometry g;
    g.clientWidth = ClientWidth();
    g.clientHeight = ClientHeight();
    g.hintWidth = size.x;
    g.hintHeight = size.y;
    g.follows = HasOption(eoScrollHintFollows);
    g.arrowHeight = host_->ScrollArrowHeight();
    g.trackPosition = trackPosition;
    g.rangeMaximum = vScroll_.maximum;
    const TTextPoint at = ScrollHintPlace(g);
    host_->ShowScrollHint(text, at.x, at.y, scrollHintColor_);
}

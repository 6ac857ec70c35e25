#include "editor/painting/CodeBookMarkOpt.h"

TCodeBookMarkOpt::TCodeBookMarkOpt(TComponent* owner) : owner_(owner) {}

void TCodeBookMarkOpt::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

void TCodeBookMarkOpt::SetBookmarkImages(TComponent* images)
{
    if (images == bookmarkImages_) {
        return;
    }
    bookmarkImages_ = images;
    if (images && owner_) {
        images->FreeNotification(owner_);
    }
    Changed();
}

void TCodeBookMarkOpt::SetDrawBookmarksFirst(bool on) { Store(drawBookmarksFirst_, on); }
void TCodeBookMarkOpt::SetGlyphsVisible(bool on) { Store(glyphsVisible_, on); }
void TCodeBookMarkOpt::SetLeftMargin(int margin) { Store(leftMargin_, margin); }
void TCodeBookMarkOpt::SetXoffset(int offset) { Store(xoffset_, offset); }

void TCodeBookMarkOpt::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TCodeBookMarkOpt>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    bookmarkImages_ = other->bookmarkImages_;
    if (bookmarkImages_ && owner_) {
        bookmarkImages_->FreeNotification(owner_);
    }
    drawBookmarksFirst_ = other->drawBookmarksFirst_;
    enableKeys_ = other->enableKeys_;
    glyphsVisible_ = other->glyphsVisible_;
    leftMargin_ = other->leftMargin_;
    xoffset_ = other->xoffset_;
    Changed();
}

#pragma once
// How bookmarks show in the gutter and whether their keys work.

#include "platform/core/objects/Component.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

class TCodeBookMarkOpt : public TPersistent {
    KP_CLASS(TCodeBookMarkOpt, TPersistent)
public:
    // The owner (the editor) is told when the image list is freed.
    explicit TCodeBookMarkOpt(TComponent* owner);

    // An image list the options do not own; nullptr for the built-in glyphs.
    TComponent* BookmarkImages() const { return bookmarkImages_; }
    void SetBookmarkImages(TComponent* images);
    bool DrawBookmarksFirst() const { return drawBookmarksFirst_; }
    void SetDrawBookmarksFirst(bool on);
    // Gates the bookmark commands; stored without a change event.
    bool EnableKeys() const { return enableKeys_; }
    void SetEnableKeys(bool on) { enableKeys_ = on; }
    bool GlyphsVisible() const { return glyphsVisible_; }
    void SetGlyphsVisible(bool on);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int margin);
    int Xoffset() const { return xoffset_; }
    void SetXoffset(int offset);
    TComponent* Owner() const { return owner_; }

    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override { return owner_; }

    TNotifyEvent OnChange;

private:
    void Changed();
    template <class T>
    void Store(T& field, T value)
    {
        if (field != value) {
            field = value;
            Changed();
        }
    }

    TComponent* bookmarkImages_ = nullptr;
    bool drawBookmarksFirst_ = true;
    bool enableKeys_ = true;
    bool glyphsVisible_ = true;
    int leftMargin_ = 2;
    TComponent* owner_;
    int xoffset_ = 12;
};

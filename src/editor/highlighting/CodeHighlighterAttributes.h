#pragma once
// What a highlighter hands out for each token: a named colour pair and font style.
// A colour of clNone sets nothing: the editor's own colour shows. The defaults are the
// values the attribute had when its highlighter finished building it; only properties
// that differ from them are stored.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/graphics/Font.h"
#include "platform/core/objects/Persistent.h"
#include "platform/core/files/Registry.h"

#include <QString>

#include <string>

class TCodeHighlighterAttributes : public TPersistent {
    KP_CLASS(TCodeHighlighterAttributes, TPersistent)
public:
    explicit TCodeHighlighterAttributes(const QString& name);

    const QString& Name() const { return name_; }
    TColor Background() const { return background_; }
    TColor Foreground() const { return foreground_; }
    TFontStyles Style() const { return style_; }
    // Each fires OnChange when the value differs.
    void SetBackground(TColor color);
    void SetForeground(TColor color);
    void SetStyle(TFontStyles style);

    // From another attribute: name, colours and style, with one OnChange when a colour
    // or the style changed.
    void Assign(const TPersistent* source) override;
    virtual void Changed();

    void StoreCurrentAsDefaults();
    bool IsBackgroundStored() const { return background_ != backgroundDefault_; }
    bool IsForegroundStored() const { return foreground_ != foregroundDefault_; }
    bool IsStyleStored() const { return style_ != styleDefault_; }

    // --- the registry ---
    // Under the registry's current key, in a subkey named after the attribute, as the
    // integers "Background", "Foreground" and "Style". The current key is kept. False
    // when the subkey cannot be opened (or created) or a value cannot be written.
    bool SaveToRegistry(TRegistry& registry) const;
    // Reads the values that exist; false when the subkey is missing or a value is not
    // an integer.
    bool LoadFromRegistry(TRegistry& registry);
    // The colours another editor keeps for an attribute of this name, as palette indexes
    // (see CodeHighlighterRegistry.cpp for the packed and the split form). False, and
    // nothing changed, when the entry is missing or malformed.
    virtual bool LoadFromRegistryEntry(TRegistryRoot root, const std::string& key, const QString& attributeName,
                                       bool packed);

    TNotifyEvent OnChange;

private:
    QString name_;
    TColor background_ = clNone;
    TColor backgroundDefault_ = clNone;
    TColor foreground_ = clNone;
    TColor foregroundDefault_ = clNone;
    TFontStyles style_ = 0;
    TFontStyles styleDefault_ = 0;
};

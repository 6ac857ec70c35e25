#pragma once
// A font as the editor's option objects describe it: face name, point size, style and
// colour. The widget glue turns it into a real font; here it is only data that tells
// its owner when it changes.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

#include <QString>

#include <cstdint>

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

class TCodeEditFont : public TPersistent {
    KP_CLASS(TCodeEditFont, TPersistent)
public:
    TCodeEditFont(const QString& name = "Courier New", int size = 10, TFontStyles style = 0);

    const QString& Name() const { return name_; }
    void SetName(const QString& name);
    int Size() const { return size_; }
    void SetSize(int size);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Copies every property and fires OnChange once when anything differed.
    void Assign(const TPersistent* source) override;
    bool operator==(const TCodeEditFont& other) const;

    TNotifyEvent OnChange;

private:
    void Changed();

    QString name_;
    int size_;
    TFontStyles style_;
    TColor color_ = clWindowText;
};

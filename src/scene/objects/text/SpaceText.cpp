#include "scene/objects/text/SpaceText.h"

#include "platform/core/Assert.h"
#include "scene/base/Utf8Text.h"

#include <cmath>
#include <vector>

// ---- Adjust ----

void TGLTextAdjust::SetHorz(TGLTextHorzAdjust value)
{
    if (value != horz_) {
        horz_ = value;
        Changed();
    }
}

void TGLTextAdjust::SetVert(TGLTextVertAdjust value)
{
    if (value != vert_) {
        vert_ = value;
        Changed();
    }
}

void TGLTextAdjust::Assign(const TPersistent* source)
{
    if (const auto* adjust = ObjectCast<TGLTextAdjust>(source)) {
        horz_ = adjust->horz_;
        vert_ = adjust->vert_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TGLTextAdjust::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

// ---- Space text ----

TGLSpaceText::TGLSpaceText(TComponent* owner)
    : TGLWorldObject(owner), font_(std::make_unique<TFont>()), adjust_(std::make_unique<TGLTextAdjust>())
{
    font_->SetName("Arial");
    font_->OnChange = TNotifyEvent::Make<&TGLSpaceText::OnFontChange>(this);
    adjust_->OnChange = TNotifyEvent::Make<&TGLSpaceText::OnFontChange>(this);
}

TGLSpaceText::~TGLSpaceText()
{
    font_->OnChange = nullptr;
    adjust_->OnChange = nullptr;
    if (entry_) {
        GetFontManager()->Release(entry_, this);
    }
}

void TGLSpaceText::SetExtrusion(float value)
{
    KP_ASSERT_MSG(value >= 0, "Extrusion must be >=0");
    if (value != extrusion_) {
        extrusion_ = value;
        OnFontChange(this);
    }
}

void TGLSpaceText::SetFont(const TFont& value)
{
    font_->Assign(&value);
}

void TGLSpaceText::SetText(const std::string& value)
{
    if (value != text_) {
        text_ = value;
        StructureChanged();
    }
}

void TGLSpaceText::SetAllowedDeviation(float value)
{
    if (value != allowedDeviation_) {
        allowedDeviation_ = value > 0 ? value : 0;
        OnFontChange(this);
    }
}

void TGLSpaceText::SetCharacterRange(TSpaceTextCharRange value)
{
    if (value != characterRange_) {
        characterRange_ = value;
        OnFontChange(this);
    }
}

void TGLSpaceText::SetAspectRatio(float value)
{
    if (value != aspectRatio_) {
        aspectRatio_ = value;
        StructureChanged();
    }
}

void TGLSpaceText::SetTextHeight(float value)
{
    if (value != textHeight_) {
        textHeight_ = value;
        StructureChanged();
    }
}

void TGLSpaceText::SetOblique(float value)
{
    if (value != oblique_) {
        oblique_ = value;
        StructureChanged();
    }
}

void TGLSpaceText::SetAdjust(const TGLTextAdjust& value)
{
    adjust_->Assign(&value);
    StructureChanged();
}

void TGLSpaceText::OnFontChange(TObject* /*sender*/)
{
    fontChanged_ = true;
    // A new font deserves new attempts.
    failedAttempts_ = 0;
    StructureChanged();
}

void TGLSpaceText::ResetFontEntry()
{
    entry_ = nullptr;
    fontChanged_ = true;
}

void TGLSpaceText::GetFirstAndLastChar(int& first, int& last) const
{
    switch (characterRange_) {
    case stcrAlphaNum:
        first = 32;
        last = 127;
        break;
    case stcrNumbers:
        first = 48;
        last = 57;
        break;
    case stcrAll:
    default:
        first = 0;
        last = 255;
        break;
    }
}

void TGLSpaceText::TextMetrics(const std::string* text, float& width, float& minY, float& maxY) const
{
    width = 0;
    minY = 0;
    maxY = 0;
    if (!entry_) {
        return;
    }
    const std::u16string units = UTF8ToWide(text ? *text : text_);
    for (const char16_t c : units) {
        const int k = static_cast<int>(c) - entry_->FirstChar;
        // Characters without a glyph in the block are skipped.
        if (k < 0 || static_cast<int>(c) > entry_->LastChar) {
            continue;
        }
        const TGlyphMetricsFloat& m = entry_->GlyphMetrics[k];
        width += m.CellIncX;
        if (m.OriginY > maxY) {
            maxY = m.OriginY;
        }
        if (m.OriginY - m.BlackBoxY < minY) {
            minY = m.OriginY - m.BlackBoxY;
        }
    }
}

void TGLSpaceText::NotifyChange(TObject* sender)
{
    if (sender && sender->Is<TFontManager>()) {
        ResetFontEntry();
        return;
    }
    TGLWorldObject::NotifyChange(sender);
}

void TGLSpaceText::AcquireFontEntry()
{
    if (failedAttempts_ >= MaxFontAttempts) {
        return;
    }
    TFontManager* manager = GetFontManager();
    if (entry_) {
        manager->Release(entry_, this);
        entry_ = nullptr;
    }
    int first = 0, last = 0;
    GetFirstAndLastChar(first, last);
    try {
        entry_ = manager->GetFontBase(font_->Name(), font_->Style(), extrusion_, allowedDeviation_, first, last,
                                      this);
    } catch (...) {
        // The flag stays set: a later render tries again, up to the limit.
        ++failedAttempts_;
        throw;
    }
    fontChanged_ = false;
    failedAttempts_ = 0;
}

void TGLSpaceText::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (!text_.empty() && (fontChanged_ || (entry_ && entry_->ListBase() == 0))) {
        AcquireFontEntry();
    }
    TGLWorldObject::DoRender(rci, renderSelf, renderChildren);
}

void TGLSpaceText::DestroyHandle()
{
    fontChanged_ = true;
    TGLWorldObject::DestroyHandle();
}

void TGLSpaceText::BuildList(TRenderContextInfo& /*rci*/)
{
    if (text_.empty() || !entry_ || entry_->ListBase() == 0) {
        return;
    }
    GL.glPushMatrix();
    if (aspectRatio_ != 0) {
        GL.glScalef(aspectRatio_, 1, 1);
    }
    if (oblique_ != 0) {
        GL.glRotatef(oblique_, 0, 0, 1);
    }
    if (adjust_->Horz() != haLeft || adjust_->Vert() != vaBaseLine || textHeight_ != 0) {
        float width = 0, descent = 0, height = 0;
        TextMetrics(nullptr, width, descent, height);
        // A text without ink above the base line has no height to scale to.
        if (textHeight_ != 0 && height != 0) {
            const float s = textHeight_ / height;
            GL.glScalef(s, s, 1);
        }
        switch (adjust_->Horz()) {
        case haCenter:
            GL.glTranslatef(-width * 0.5f, 0, 0);
            break;
        case haRight:
            GL.glTranslatef(-width, 0, 0);
            break;
        default:
            break;
        }
        switch (adjust_->Vert()) {
        case vaTop:
            GL.glTranslatef(0, -height, 0);
            break;
        case vaCenter:
            GL.glTranslatef(0, std::fabs(descent) * 0.5f - height * 0.5f, 0);
            break;
        case vaBottom:
            GL.glTranslatef(0, std::fabs(descent), 0);
            break;
        case vaBaseLine:
            break;
        }
    }
    // One list offset per character of the block; the others have no list.
    const std::u16string units = UTF8ToWide(text_);
    std::vector<GLubyte> offsets;
    offsets.reserve(units.size());
    for (const char16_t c : units) {
        if (static_cast<int>(c) >= entry_->FirstChar && static_cast<int>(c) <= entry_->LastChar) {
            offsets.push_back(static_cast<GLubyte>(c - entry_->FirstChar));
        }
    }
    // The list base is saved too, so that later glCallLists elsewhere are not offset.
    GL.glPushAttrib(GL_POLYGON_BIT | GL_LIST_BIT);
    GL.glListBase(entry_->ListBase());
    GL.glCallLists(static_cast<GLsizei>(offsets.size()), GL_UNSIGNED_BYTE, offsets.data());
    GL.glPopAttrib();
    GL.glPopMatrix();
}

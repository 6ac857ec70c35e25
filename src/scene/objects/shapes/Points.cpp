#include "scene/objects/shapes/Points.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/Filer.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

#include <algorithm>

// ---- TGLPointParameters ----

namespace {
constexpr float DefaultMinSize = 0;
constexpr float DefaultMaxSize = 128.0f;
constexpr float DefaultFadeTresholdSize = 1.0f;
constexpr TVector DefaultDistanceAttenuation{1, 0, 0, 0};
} // namespace

TGLPointParameters::TGLPointParameters(TPersistent* owner)
    : TGLUpdateAbleObject(owner),
      distanceAttenuation_(
          std::make_unique<TGLCoordinates>(this, DefaultDistanceAttenuation, TGLCoordinatesStyle::csVector))
{
}

TGLPointParameters::~TGLPointParameters() = default;

void TGLPointParameters::SetEnabled(bool value)
{
    if (value != enabled_) {
        enabled_ = value;
        NotifyChange(this);
    }
}

void TGLPointParameters::SetSize(float& field, float value)
{
    value = std::max(value, 0.0f);
    if (value != field) {
        field = value;
        NotifyChange(this);
    }
}

void TGLPointParameters::SetMinSize(float value)
{
    SetSize(minSize_, value);
}

void TGLPointParameters::SetMaxSize(float value)
{
    SetSize(maxSize_, value);
}

void TGLPointParameters::SetFadeTresholdSize(float value)
{
    SetSize(fadeTresholdSize_, value);
}

void TGLPointParameters::SetDistanceAttenuation(const TGLCoordinates& value)
{
    distanceAttenuation_->Assign(&value);
}

void TGLPointParameters::Assign(const TPersistent* source)
{
    if (const auto* params = ObjectCast<TGLPointParameters>(source)) {
        minSize_ = params->minSize_;
        maxSize_ = params->maxSize_;
        fadeTresholdSize_ = params->fadeTresholdSize_;
        distanceAttenuation_->Assign(params->distanceAttenuation_.get());
    }
}

void TGLPointParameters::DefineProperties(TFiler* filer)
{
    TGLUpdateAbleObject::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "PointParams",
        [this](TStream& s) {
            SetMinSize(ReadSingleLE(s));
            SetMaxSize(ReadSingleLE(s));
            SetFadeTresholdSize(ReadSingleLE(s));
        },
        [this](TStream& s) {
            WriteSingleLE(s, minSize_);
            WriteSingleLE(s, maxSize_);
            WriteSingleLE(s, fadeTresholdSize_);
        },
        minSize_ != DefaultMinSize || maxSize_ != DefaultMaxSize || fadeTresholdSize_ != DefaultFadeTresholdSize);
}

void TGLPointParameters::Apply() const
{
    if (enabled_ && GLExt.ARB_point_parameters) {
        GL.glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, minSize_);
        GL.glPointParameterfARB(GL_POINT_SIZE_MAX_ARB, maxSize_);
        GL.glPointParameterfARB(GL_POINT_FADE_THRESHOLD_SIZE_ARB, fadeTresholdSize_);
        GL.glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, distanceAttenuation_->AsAddress());
    }
}

void TGLPointParameters::UnApply() const
{
    if (enabled_ && GLExt.ARB_point_parameters) {
        GL.glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, DefaultMinSize);
        GL.glPointParameterfARB(GL_POINT_SIZE_MAX_ARB, DefaultMaxSize);
        GL.glPointParameterfARB(GL_POINT_FADE_THRESHOLD_SIZE_ARB, DefaultFadeTresholdSize);
        GL.glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, &DefaultDistanceAttenuation.X);
    }
}

// ---- TGLPoints ----

TGLPoints::TGLPoints(TComponent* owner)
    : TGLImmaterialSceneObject(owner), pointParameters_(std::make_unique<TGLPointParameters>(this))
{
    IncludeStyle(osNoDisplayList);
    IncludeStyle(osNeverCulled);
}

TGLPoints::~TGLPoints() = default;

void TGLPoints::SetPositions(const TAffineVectorList& value)
{
    positions_.Assign(&value);
    StructureChanged();
}

void TGLPoints::SetColors(const TVectorList& value)
{
    colors_.Assign(&value);
    StructureChanged();
}

void TGLPoints::SetSize(float value)
{
    StoreAndRebuild(*this, size_, value);
}

void TGLPoints::SetStyle(TGLPointStyle value)
{
    StoreAndRebuild(*this, style_, value);
}

void TGLPoints::SetNoZWrite(bool value)
{
    StoreAndRebuild(*this, noZWrite_, value);
}

void TGLPoints::SetStatic(bool value)
{
    if (value != static_) {
        static_ = value;
        if (value) {
            ExcludeStyle(osNoDisplayList);
        } else {
            IncludeStyle(osNoDisplayList);
        }
        StructureChanged();
    }
}

void TGLPoints::SetPointParameters(const TGLPointParameters& value)
{
    pointParameters_->Assign(&value);
}

void TGLPoints::Assign(const TPersistent* source)
{
    if (const auto* points = ObjectCast<TGLPoints>(source)) {
        size_ = points->size_;
        style_ = points->style_;
        positions_.Assign(&points->positions_);
        colors_.Assign(&points->colors_);
        StructureChanged();
    }
    TGLImmaterialSceneObject::Assign(source);
}

void TGLPoints::BuildList(TRenderContextInfo& /*rci*/)
{
    // Where the one point of a cloud without positions is drawn; it must outlive a
    // display list compile, which reads the array.
    static const TAffineVector origin{0, 0, 0};
    // Checked before any state is touched.
    KP_ASSERT(style_ <= psSquareAdditive);

    int n = positions_.Count();
    const int c = colors_.Count();
    if (c == 0) {
        static const GLfloat white[4] = {1, 1, 1, 1};
        GL.glColor4fv(white);
    } else if (c == 1) {
        GL.glColor4fv(&colors_[0].X);
    } else {
        GL.glColorPointer(4, GL_FLOAT, 0, colors_.List());
        GL.glEnableClientState(GL_COLOR_ARRAY);
        n = std::min(n, c);
    }

    GL.glPushAttrib(GL_ENABLE_BIT);
    GL.glDisable(GL_LIGHTING);
    if (positions_.Count() == 0) {
        GL.glVertexPointer(3, GL_FLOAT, 0, &origin.X);
        n = 1;
    } else {
        GL.glVertexPointer(3, GL_FLOAT, 0, positions_.List());
    }
    GL.glEnableClientState(GL_VERTEX_ARRAY);

    if (noZWrite_) {
        GL.glDepthMask(GL_FALSE);
    }
    GL.glPointSize(size_);
    pointParameters_->Apply();
    const bool locked = GLExt.EXT_compiled_vertex_array && n > 64;
    if (locked) {
        GL.glLockArraysEXT(0, n);
    }

    switch (style_) {
    case psSquare:
        GL.glDisable(GL_BLEND);
        break;
    case psRound:
        GL.glEnable(GL_POINT_SMOOTH);
        GL.glEnable(GL_ALPHA_TEST);
        GL.glAlphaFunc(GL_GREATER, 0.5f);
        GL.glDisable(GL_BLEND);
        break;
    case psSmooth:
    case psSmoothAdditive:
        GL.glEnable(GL_POINT_SMOOTH);
        GL.glEnable(GL_ALPHA_TEST);
        GL.glAlphaFunc(GL_NOTEQUAL, 0);
        GL.glEnable(GL_BLEND);
        GL.glBlendFunc(GL_SRC_ALPHA, style_ == psSmooth ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
        break;
    case psSquareAdditive:
        GL.glEnable(GL_BLEND);
        GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    }

    GL.glDrawArrays(GL_POINTS, 0, n);
    if (locked) {
        GL.glUnlockArraysEXT();
    }

    pointParameters_->UnApply();
    if (noZWrite_) {
        GL.glDepthMask(GL_TRUE);
    }
    GL.glDisableClientState(GL_VERTEX_ARRAY);
    if (c > 1) {
        GL.glDisableClientState(GL_COLOR_ARRAY);
    }
    GL.glPopAttrib();
    GL.glAlphaFunc(GL_GREATER, 0);
}

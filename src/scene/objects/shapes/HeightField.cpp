#include "scene/objects/shapes/HeightField.h"

#include "scene/rendering/GLStateCache.h"
#include "scene/materials/Material.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/VectorGeometry.h"

#include <cmath>
#include <utility>

TGLHeightField::TGLHeightField(TComponent* owner)
    : TGLWorldObject(owner), xScale_(std::make_unique<TGLSamplingScale>(this)),
      yScale_(std::make_unique<TGLSamplingScale>(this))
{
    IncludeStyle(osResetStatesAfterRender);
}

TGLHeightField::~TGLHeightField() = default;

void TGLHeightField::SetColorMode(THeightFieldColorMode value)
{
    if (value != colorMode_) {
        colorMode_ = value;
        StructureChanged();
    }
}

void TGLHeightField::SetOptions(THeightFieldOptions value)
{
    if (value != options_) {
        options_ = value;
        StructureChanged();
    }
}

void TGLHeightField::SetOnGetHeight(THeightFieldGetHeightEvent value)
{
    onGetHeight_ = std::move(value);
    StructureChanged();
}

void TGLHeightField::SetOnGetHeight2(THeightFieldGetHeight2Event value)
{
    onGetHeight2_ = std::move(value);
    StructureChanged();
}

void TGLHeightField::Assign(const TPersistent* source)
{
    if (const auto* field = ObjectCast<TGLHeightField>(source)) {
        xScale_->Assign(field->xScale_.get());
        yScale_->Assign(field->yScale_.get());
        onGetHeight_ = field->onGetHeight_;
        options_ = field->options_;
        colorMode_ = field->colorMode_;
        return;
    }
    TGLWorldObject::Assign(source);
}

void TGLHeightField::NotifyChange(TObject* sender)
{
    if (sender && sender->Is<TGLSamplingScale>()) {
        StructureChanged();
    }
    TGLWorldObject::NotifyChange(sender);
}

void TGLHeightField::Height(float x, float y, TSample& sample)
{
    if (onGetHeight_) {
        onGetHeight_(x, y, sample.z, sample.color, sample.texPoint);
    } else if (onGetHeight2_) {
        onGetHeight2_(this, x, y, sample.z, sample.color, sample.texPoint);
    } else {
        // A rippled dome, so an unconnected height field still shows something.
        const float r2 = SquaredHypot(x, y);
        sample.z = static_cast<float>(std::cos(12.0 * r2) / ((6.28 * r2 + 1) * 2));
        sample.color = {0.8f, 0.8f, 0.8f, 1};
    }
}

void TGLHeightField::ComputeNormals(const TSample* before, TSample* row, const TSample* after, int count) const
{
    // The slope along each axis is the mean of the one-sided differences there are:
    // summing them would make inner samples of a tilted plane twice as steep as its edges.
    const double xStep = xScale_->Step(), yStep = yScale_->Step();
    for (int i = 0; i < count; ++i) {
        const double z = row[i].z;
        double a = 0, b = 0;
        int xTerms = 0, yTerms = 0;
        if (i > 0) {
            a += (row[i - 1].z - z) / xStep;
            ++xTerms;
        }
        if (i < count - 1) {
            a += (z - row[i + 1].z) / xStep;
            ++xTerms;
        }
        if (before) {
            b += (before[i].z - z) / yStep;
            ++yTerms;
        }
        if (after) {
            b += (z - after[i].z) / yStep;
            ++yTerms;
        }
        a = xTerms ? a / xTerms : 0;
        b = yTerms ? b / yTerms : 0;
        row[i].normal = NormalizedAffineVector(MakeAffineVector(static_cast<float>(a), static_cast<float>(b), 1));
    }
}

void TGLHeightField::DrawStrip(const TSample* older, float olderY, const TSample* newer, float newerY,
                               int count) const
{
    const bool colored = colorMode_ != hfcmNone;
    const bool textured = (options_ & hfoTextureCoordinates) && TexCoordRouter.TexCoord2fv;
    const auto vertex = [&](const TSample& s, float x, float y) {
        GL.glNormal3fv(&s.normal.X);
        if (colored) {
            GL.glColor4fv(&s.color.X);
        }
        if (textured) {
            TexCoordRouter.TexCoord2fv(&s.texPoint.S);
        }
        GL.glVertex3f(x, y, s.z);
    };
    GL.glBegin(GL_TRIANGLE_STRIP);
    vertex(newer[0], xs_[0], newerY);
    for (int j = 0; j < count - 1; ++j) {
        vertex(older[j], xs_[j], olderY);
        vertex(newer[j + 1], xs_[j + 1], newerY);
    }
    vertex(older[count - 1], xs_[count - 1], olderY);
    GL.glEnd();
}

void TGLHeightField::BuildList(TRenderContextInfo& rci)
{
    triangleCount_ = 0;
    if (!xScale_->IsValid() || !yScale_->IsValid()) {
        return;
    }
    const TGLSamplingScale& X = *xScale_;
    const TGLSamplingScale& Y = *yScale_;
    // The loops below stop at this many samples per row, whatever rounding does to x.
    const int capacity = X.MaxStepCount() + 1;
    rows_.assign(std::size_t(capacity) * 3, TSample{});
    xs_.clear();
    // A step too small to move a float that large ends the loop instead of stalling it.
    for (float x = X.StepBase(); x <= X.Max() && static_cast<int>(xs_.size()) < capacity; x += X.Step()) {
        xs_.push_back(x);
        if (x + X.Step() == x) {
            break;
        }
    }
    const int count = static_cast<int>(xs_.size());
    if (count == 0) {
        return;
    }

    const bool pushed = (options_ & hfoTwoSided) || colorMode_ != hfcmNone;
    if (pushed) {
        GL.glPushAttrib(GL_ENABLE_BIT);
    }
    if (options_ & hfoTwoSided) {
        GL.glDisable(GL_CULL_FACE);
        GL.glPolygonMode(GL_FRONT_AND_BACK, PolygonModeToGL(Material().FrontProperties()->PolygonMode()));
    }
    if (colorMode_ != hfcmNone) {
        static constexpr GLenum materialColors[] = {0, GL_EMISSION, GL_AMBIENT, GL_DIFFUSE, GL_AMBIENT_AND_DIFFUSE};
        GL.glEnable(GL_COLOR_MATERIAL);
        GL.glColorMaterial(GL_FRONT_AND_BACK, materialColors[colorMode_]);
        if (rci.GLStates) {
            rci.GLStates->ResetMaterials();
        }
    }

    // Three row buffers in rotation: the row before the previous, the previous, the current.
    TSample* beforePrevious = rows_.data();
    TSample* previous = beforePrevious + capacity;
    TSample* current = previous + capacity;
    float beforePreviousY = 0, previousY = 0, currentY = 0;
    int rowCount = 0;
    for (float y = Y.StepBase(); y <= Y.Max(); y += Y.Step()) {
        TSample* reused = beforePrevious;
        beforePrevious = previous;
        beforePreviousY = previousY;
        previous = current;
        previousY = currentY;
        current = reused;
        currentY = y;
        for (int i = 0; i < count; ++i) {
            current[i].texPoint = {xs_[i], y};
            Height(xs_[i], y, current[i]);
        }
        if (rowCount >= 1) {
            ComputeNormals(rowCount >= 2 ? beforePrevious : nullptr, previous, current, count);
        }
        if (rowCount >= 2) {
            DrawStrip(beforePrevious, beforePreviousY, previous, previousY, count);
        }
        ++rowCount;
        if (y + Y.Step() == y) {
            break;
        }
    }
    if (rowCount >= 1) {
        ComputeNormals(rowCount >= 2 ? previous : nullptr, current, nullptr, count);
    }
    if (rowCount >= 2) {
        DrawStrip(previous, previousY, current, currentY, count);
    }
    triangleCount_ = rowCount >= 1 ? 2 * (rowCount - 1) * (count - 1) : 0;
    if (pushed) {
        GL.glPopAttrib();
    }
}

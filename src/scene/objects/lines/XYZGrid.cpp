#include "scene/objects/lines/XYZGrid.h"

#include <cmath>
#include <initializer_list>

namespace {

// Visits an axis's samples, adding in single precision, at most Count of them. A step
// too small to move a float that large ends the loop instead of stalling it.
template <class F>
void ForEachSample(const TXYZGridAxis& axis, F&& visit)
{
    float v = axis.Base;
    for (std::int64_t i = 0; i < axis.Count && v <= axis.Max; ++i, v += axis.Step) {
        visit(v);
        if (v + axis.Step == v) {
            break;
        }
    }
}

} // namespace

TGLXYZGrid::TGLXYZGrid(TComponent* owner)
    : TGLLineBase(owner), xScale_(std::make_unique<TGLSamplingScale>(this)),
      yScale_(std::make_unique<TGLSamplingScale>(this)), zScale_(std::make_unique<TGLSamplingScale>(this))
{
}

TGLXYZGrid::~TGLXYZGrid() = default;

void TGLXYZGrid::SetParts(TXYZGridParts value)
{
    if (value != parts_) {
        parts_ = value;
        StructureChanged();
    }
}

void TGLXYZGrid::SetLinesStyle(TXYZGridLinesStyle value)
{
    if (value != linesStyle_) {
        linesStyle_ = value;
        StructureChanged();
    }
}

void TGLXYZGrid::SetNoZWrite(bool value)
{
    if (value != noZWrite_) {
        noZWrite_ = value;
        StructureChanged();
    }
}

void TGLXYZGrid::SetMaxLines(std::int64_t value)
{
    if (value != maxLines_) {
        maxLines_ = value;
        StructureChanged();
    }
}

void TGLXYZGrid::SetMaxVertices(std::int64_t value)
{
    if (value != maxVertices_) {
        maxVertices_ = value;
        StructureChanged();
    }
}

TXYZGridSampling TGLXYZGrid::Sampling() const
{
    TXYZGridSampling result;
    const TGLSamplingScale* scales[3] = {xScale_.get(), yScale_.get(), zScale_.get()};
    TXYZGridAxis* axes[3] = {&result.X, &result.Y, &result.Z};
    bool sampled[3];
    for (int i = 0; i < 3; ++i) {
        const TGLSamplingScale& scale = *scales[i];
        sampled[i] = (parts_ & (1u << i)) != 0;
        TXYZGridAxis& axis = *axes[i];
        scale.SetBaseStepMaxToVars(axis.Base, axis.Step, axis.Max, sampled[i]);
        for (float value : {scale.Min(), scale.Max(), scale.Origin(), axis.Step, axis.Base}) {
            if (!std::isfinite(value)) {
                result = {};
                result.Drawable = false;
                return result;
            }
        }
    }

    // Counted in double: a fine step over a wide range gives far more than an int holds.
    const auto count = [&](int i, double factor) {
        if (!sampled[i]) {
            return 1.0;
        }
        const auto step = static_cast<float>(axes[i]->Step * factor);
        const float max = scales[i]->LoopMax(axes[i]->Base, step);
        return max >= axes[i]->Base ? std::floor((double(max) - axes[i]->Base) / step) + 1 : 0.0;
    };
    const bool segments = linesStyle_ == glsSegments;
    double factors[3] = {1, 1, 1};
    double counts[3];
    double lines = 0;
    double vertices = 0;
    for (;;) {
        for (int i = 0; i < 3; ++i) {
            counts[i] = count(i, factors[i]);
        }
        // Part i draws one line per pair of samples of the other two axes.
        lines = 0;
        vertices = 0;
        for (int i = 0; i < 3; ++i) {
            if (sampled[i]) {
                const double n = counts[(i + 1) % 3] * counts[(i + 2) % 3];
                lines += n;
                vertices += n * (segments ? counts[i] : 2);
            }
        }
        if (lines <= double(maxLines_) && vertices <= double(maxVertices_)) {
            break;
        }
        // The densest axis first (the smallest drawn step, then the most samples), so
        // equal steps stay equal.
        int densest = -1;
        double densestStep = 0;
        for (int i = 0; i < 3; ++i) {
            if (!sampled[i] || counts[i] <= 1) {
                continue;
            }
            const double step = axes[i]->Step * factors[i];
            if (densest < 0 || step < densestStep || (step == densestStep && counts[i] > counts[densest])) {
                densest = i;
                densestStep = step;
            }
        }
        if (densest < 0) {
            // Limits below a single sample per axis.
            result = {};
            result.Drawable = false;
            return result;
        }
        factors[densest] *= 2;
    }

    for (int i = 0; i < 3; ++i) {
        TXYZGridAxis& axis = *axes[i];
        axis.Factor = factors[i];
        axis.Count = static_cast<std::int64_t>(counts[i]);
        if (sampled[i] && factors[i] > 1) {
            axis.Step = static_cast<float>(axis.Step * factors[i]);
            axis.Max = scales[i]->LoopMax(axis.Base, axis.Step);
            result.Coarsened = true;
        }
    }
    result.Lines = static_cast<std::int64_t>(lines);
    result.Vertices = static_cast<std::int64_t>(vertices);
    return result;
}

void TGLXYZGrid::Assign(const TPersistent* source)
{
    if (const auto* grid = ObjectCast<TGLXYZGrid>(source)) {
        xScale_->Assign(grid->xScale_.get());
        yScale_->Assign(grid->yScale_.get());
        zScale_->Assign(grid->zScale_.get());
        parts_ = grid->parts_;
        linesStyle_ = grid->linesStyle_;
        noZWrite_ = grid->noZWrite_;
        maxLines_ = grid->maxLines_;
        maxVertices_ = grid->maxVertices_;
    }
    TGLLineBase::Assign(source);
}

void TGLXYZGrid::NotifyChange(TObject* sender)
{
    if (sender && sender->Is<TGLSamplingScale>()) {
        StructureChanged();
    }
    TGLLineBase::NotifyChange(sender);
}

void TGLXYZGrid::BuildList(TRenderContextInfo& rci)
{
    const TXYZGridSampling sampling = Sampling();
    SetupLineStyle(rci);
    if (noZWrite_) {
        GL.glPushAttrib(GL_DEPTH_BUFFER_BIT);
        GL.glDepthMask(GL_FALSE);
    }
    if (sampling.Drawable) {
        DrawLines(sampling);
    }
    if (noZWrite_) {
        GL.glPopAttrib();
    }
    RestoreLineStyle(rci);
}

void TGLXYZGrid::DrawLines(const TXYZGridSampling& sampling) const
{
    const TXYZGridAxis& X = sampling.X;
    const TXYZGridAxis& Y = sampling.Y;
    const TXYZGridAxis& Z = sampling.Z;
    const bool segments = linesStyle_ == glsSegments;

    if (parts_ & gpX) {
        ForEachSample(Y, [&](float y) {
            ForEachSample(Z, [&](float z) {
                GL.glBegin(GL_LINE_STRIP);
                if (segments) {
                    ForEachSample(X, [&](float x) { GL.glVertex3f(x, y, z); });
                } else {
                    GL.glVertex3f(xScale_->Min(), y, z);
                    GL.glVertex3f(xScale_->Max(), y, z);
                }
                GL.glEnd();
            });
        });
    }
    if (parts_ & gpY) {
        ForEachSample(X, [&](float x) {
            ForEachSample(Z, [&](float z) {
                GL.glBegin(GL_LINE_STRIP);
                if (segments) {
                    ForEachSample(Y, [&](float y) { GL.glVertex3f(x, y, z); });
                } else {
                    GL.glVertex3f(x, yScale_->Min(), z);
                    GL.glVertex3f(x, yScale_->Max(), z);
                }
                GL.glEnd();
            });
        });
    }
    if (parts_ & gpZ) {
        ForEachSample(X, [&](float x) {
            ForEachSample(Y, [&](float y) {
                GL.glBegin(GL_LINE_STRIP);
                if (segments) {
                    ForEachSample(Z, [&](float z) { GL.glVertex3f(x, y, z); });
                } else {
                    GL.glVertex3f(x, y, zScale_->Min());
                    GL.glVertex3f(x, y, zScale_->Max());
                }
                GL.glEnd();
            });
        });
    }
}

#include "scene/objects/lines/XYZGrid.h"

namespace {

// The bounds of one axis's loop.
struct TAxisLoop {
    float base, step, max;

    // Visits base, base + step, ... while <= max, adding in single precision. A step too
    // small to move a float that large ends the loop instead of stalling it.
    template <class F>
    void ForEach(F&& visit) const
    {
        for (float v = base; v <= max; v += step) {
            visit(v);
            if (v + step == v) {
                break;
            }
        }
    }
};

TAxisLoop LoopOf(const TGLSamplingScale& scale, bool sampling)
{
    TAxisLoop loop{};
    scale.SetBaseStepMaxToVars(loop.base, loop.step, loop.max, sampling);
    return loop;
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

void TGLXYZGrid::Assign(const TPersistent* source)
{
    if (const auto* grid = ObjectCast<TGLXYZGrid>(source)) {
        xScale_->Assign(grid->xScale_.get());
        yScale_->Assign(grid->yScale_.get());
        zScale_->Assign(grid->zScale_.get());
        parts_ = grid->parts_;
        linesStyle_ = grid->linesStyle_;
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
    SetupLineStyle(rci);
    const TAxisLoop X = LoopOf(*xScale_, (parts_ & gpX) != 0);
    const TAxisLoop Y = LoopOf(*yScale_, (parts_ & gpY) != 0);
    const TAxisLoop Z = LoopOf(*zScale_, (parts_ & gpZ) != 0);
    const bool segments = linesStyle_ == glsSegments;

    if (parts_ & gpX) {
        Y.ForEach([&](float y) {
            Z.ForEach([&](float z) {
                GL.glBegin(GL_LINE_STRIP);
                if (segments) {
                    X.ForEach([&](float x) { GL.glVertex3f(x, y, z); });
                } else {
                    GL.glVertex3f(xScale_->Min(), y, z);
                    GL.glVertex3f(xScale_->Max(), y, z);
                }
                GL.glEnd();
            });
        });
    }
    if (parts_ & gpY) {
        X.ForEach([&](float x) {
            Z.ForEach([&](float z) {
                GL.glBegin(GL_LINE_STRIP);
                if (segments) {
                    Y.ForEach([&](float y) { GL.glVertex3f(x, y, z); });
                } else {
                    GL.glVertex3f(x, yScale_->Min(), z);
                    GL.glVertex3f(x, yScale_->Max(), z);
                }
                GL.glEnd();
            });
        });
    }
    if (parts_ & gpZ) {
        X.ForEach([&](float x) {
            Y.ForEach([&](float y) {
                GL.glBegin(GL_LINE_STRIP);
                if (segments) {
                    Z.ForEach([&](float z) { GL.glVertex3f(x, y, z); });
                } else {
                    GL.glVertex3f(x, y, zScale_->Min());
                    GL.glVertex3f(x, y, zScale_->Max());
                }
                GL.glEnd();
            });
        });
    }
    RestoreLineStyle(rci);
}

#pragma once
// How one axis of a grid or height field is sampled: a range Min..Max and the regular
// positions of spacing Step that pass through Origin.

#include "scene/graph/UpdateAble.h"

class TGLSamplingScale : public TGLUpdateAbleObject {
    KP_CLASS(TGLSamplingScale, TGLUpdateAbleObject)
public:
    explicit TGLSamplingScale(TPersistent* owner) : TGLUpdateAbleObject(owner) {}

    // From another scale: the four values, then one change notification.
    void Assign(const TPersistent* source) override;

    float Min() const { return min_; }
    float Max() const { return max_; }
    float Origin() const { return origin_; }
    float Step() const { return step_; }

    // Every setter notifies, changed or not. Min above Max drags Max along, and the
    // other way round; a Step that is not above 0 becomes 1 so no loop can stall.
    void SetMin(float value);
    void SetMax(float value);
    void SetOrigin(float value);
    void SetStep(float value);

    // The first sample: the lowest position Origin + k * Step that is not below Min.
    float StepBase() const;
    // (Max - Min) / Step + 0.5, rounded to nearest (ties to even), at most INT_MAX - 1.
    int MaxStepCount() const;
    bool IsValid() const { return max_ != min_; }
    // The loop bounds of one axis: sampled, from StepBase to Max plus a tolerance that
    // keeps a last sample landing on Max after repeated float additions; not sampled,
    // the single position Origin.
    void SetBaseStepMaxToVars(float& base, float& step, float& max, bool sampling) const;
    // The last position a loop takes for samples `step` apart from `base`: Max plus that
    // tolerance. A grid drawn coarser than Step ends its loops here too.
    float LoopMax(float base, float step) const;

private:
    float min_ = 0;
    float max_ = 0;
    float origin_ = 0;
    float step_ = 0.1f;
};

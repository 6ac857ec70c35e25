#include "scene/objects/lines/SamplingScale.h"

#include <climits>
#include <cmath>

void TGLSamplingScale::Assign(const TPersistent* source)
{
    if (const auto* scale = ObjectCast<TGLSamplingScale>(source)) {
        min_ = scale->min_;
        max_ = scale->max_;
        origin_ = scale->origin_;
        step_ = scale->step_;
        NotifyChange(this);
        return;
    }
    TGLUpdateAbleObject::Assign(source);
}

void TGLSamplingScale::SetMin(float value)
{
    min_ = value;
    if (max_ < min_) {
        max_ = min_;
    }
    NotifyChange(this);
}

void TGLSamplingScale::SetMax(float value)
{
    max_ = value;
    if (min_ > max_) {
        min_ = max_;
    }
    NotifyChange(this);
}

void TGLSamplingScale::SetOrigin(float value)
{
    origin_ = value;
    NotifyChange(this);
}

void TGLSamplingScale::SetStep(float value)
{
    // Also catches NaN: a NaN step would make every sampling loop run forever.
    step_ = value > 0 ? value : 1.0f;
    NotifyChange(this);
}

float TGLSamplingScale::StepBase() const
{
    if (origin_ == min_) {
        return min_;
    }
    const float q = static_cast<float>((double(origin_) - min_) / step_);
    // The largest whole count of steps between Min and Origin. Truncating and taking
    // one less below zero would also step past a sample lying exactly on Min.
    const double n = std::floor(q);
    return static_cast<float>(origin_ - step_ * n);
}

int TGLSamplingScale::MaxStepCount() const
{
    const double count = std::nearbyint((double(max_) - min_) / step_ + 0.5);
    // The count sizes buffers; a range of billions of steps is clamped, not overflowed.
    return count < double(INT_MAX - 1) ? static_cast<int>(count) : INT_MAX - 1;
}

float TGLSamplingScale::LoopMax(float base, float step) const
{
    return static_cast<float>(max_ + ((double(max_) - base) / step) * 1e-6);
}

void TGLSamplingScale::SetBaseStepMaxToVars(float& base, float& step, float& max, bool sampling) const
{
    step = step_;
    if (sampling) {
        base = StepBase();
        max = LoopMax(base, step);
    } else {
        base = origin_;
        max = origin_;
    }
}

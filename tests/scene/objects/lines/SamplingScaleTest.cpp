#include "platform/core/Exceptions.h"
#include "scene/objects/lines/SamplingScale.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <vector>

namespace {

// Records the notifications a scale sends to its owner.
class TScaleOwner : public TGLUpdateAbleObject {
    KP_CLASS(TScaleOwner, TGLUpdateAbleObject)
public:
    TScaleOwner() : TGLUpdateAbleObject(nullptr) {}
    void NotifyChange(TObject* sender) override { senders.push_back(sender); }
    std::vector<TObject*> senders;
};

// The positions a grid loop visits: from the base while <= max, adding the step in
// single precision.
std::vector<float> Samples(const TGLSamplingScale& scale, bool sampling = true)
{
    float base, step, max;
    scale.SetBaseStepMaxToVars(base, step, max, sampling);
    std::vector<float> result;
    for (float v = base; v <= max; v += step) {
        result.push_back(v);
    }
    return result;
}

std::vector<float> Range(float from, float step, int count)
{
    std::vector<float> v;
    for (int i = 0; i < count; ++i) {
        v.push_back(from + step * i);
    }
    return v;
}

TEST(SamplingScale, VisitsTheLatticeThroughOriginInsideTheRange)
{
    struct Case {
        float min, max, step, origin;
        std::vector<float> samples;
    };
    const Case cases[] = {
        // The preview's table: the last sample is kept by the tolerance.
        {0, 96, 4, 0, Range(0, 4, 25)}, {0, 48, 4, 0, Range(0, 4, 13)},
        // The origin lies inside: the first sample is the origin itself.
        {0, 10, 3, 1, {1, 4, 7, 10}},
        // The origin above the range steps back down into it.
        {0, 10, 3, 7, {1, 4, 7, 10}},
        // The origin below the range by a fraction of a step.
        {0, 10, 3, -5, {1, 4, 7, 10}},
        // The origin below the range by whole steps keeps the sample on Min.
        {0, 9, 3, -6, {0, 3, 6, 9}},
        // Negative ranges.
        {-2, 2, 1, 0, {-2, -1, 0, 1, 2}},
        // A step that does not divide the range ends below Max.
        {0, 1, 0.3f, 0, {0, 0.3f, 0.6f, 0.9f}},
        // Many small single-precision steps still reach Max.
        {0, 1, 0.1f, 0, Range(0, 0.1f, 11)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.min) + " .. " + std::to_string(c.max) + " by " + std::to_string(c.step) +
                     " through " + std::to_string(c.origin));
        TGLSamplingScale scale(nullptr);
        scale.SetMax(c.max);
        scale.SetMin(c.min);
        scale.SetStep(c.step);
        scale.SetOrigin(c.origin);
        const std::vector<float> got = Samples(scale);
        ASSERT_EQ(got.size(), c.samples.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i], c.samples[i], 1e-4) << "sample " << i;
        }
    }
}

TEST(SamplingScale, AnAxisNotSampledIsItsOriginOnly)
{
    TGLSamplingScale scale(nullptr);
    scale.SetMax(10);
    scale.SetStep(1);
    scale.SetOrigin(2.5f);
    EXPECT_EQ(Samples(scale, false), std::vector<float>{2.5f});
}

TEST(SamplingScale, MinAndMaxDragEachOther)
{
    TGLSamplingScale scale(nullptr);
    scale.SetMax(10);
    scale.SetMin(4);
    scale.SetMax(2); // below Min
    EXPECT_EQ(scale.Max(), 2);
    EXPECT_EQ(scale.Min(), 2);
    scale.SetMin(8); // above Max
    EXPECT_EQ(scale.Min(), 8);
    EXPECT_EQ(scale.Max(), 8);
    scale.SetMin(-1); // below Max: Max stays
    EXPECT_EQ(scale.Max(), 8);
}

TEST(SamplingScale, StepIsAlwaysPositive)
{
    const std::pair<float, float> cases[] = {
        {0.5f, 0.5f}, {0, 1}, {-3, 1}, {std::numeric_limits<float>::quiet_NaN(), 1}, {1e-30f, 1e-30f}};
    for (const auto& [given, stored] : cases) {
        TGLSamplingScale scale(nullptr);
        scale.SetStep(given);
        EXPECT_EQ(scale.Step(), stored) << given;
    }
}

TEST(SamplingScale, StepCountRoundsHalfAStepUpToNearestEven)
{
    struct Case {
        float min, max, step;
        int count;
    };
    const Case cases[] = {{0, 96, 4, 24},  // 24.5 rounds to even 24
                          {0, 100, 4, 26}, // 25.5 rounds to even 26
                          {0, 10, 3, 4},   // 3.83
                          {0, 0, 1, 0},    // 0.5 rounds to 0
                          {0, 1e30f, 1e-30f, INT_MAX - 1}};
    for (const Case& c : cases) {
        TGLSamplingScale scale(nullptr);
        scale.SetMax(c.max);
        scale.SetMin(c.min);
        scale.SetStep(c.step);
        EXPECT_EQ(scale.MaxStepCount(), c.count) << c.max << " / " << c.step;
    }
}

TEST(SamplingScale, EverySetterNotifiesTheOwnerEvenWithoutAChange)
{
    TScaleOwner owner;
    TGLSamplingScale scale(&owner);
    scale.SetMin(0);
    scale.SetMax(0);
    scale.SetOrigin(0);
    scale.SetStep(0.1f);
    EXPECT_EQ(owner.senders, std::vector<TObject*>(4, &scale));
}

TEST(SamplingScale, AssignCopiesTheFourValuesAndNotifiesOnce)
{
    TGLSamplingScale source(nullptr);
    source.SetMax(9);
    source.SetMin(1);
    source.SetOrigin(2);
    source.SetStep(0.5f);
    TScaleOwner owner;
    TGLSamplingScale target(&owner);
    target.Assign(&source);
    EXPECT_EQ(target.Min(), 1);
    EXPECT_EQ(target.Max(), 9);
    EXPECT_EQ(target.Origin(), 2);
    EXPECT_EQ(target.Step(), 0.5f);
    EXPECT_EQ(owner.senders.size(), 1u);
}

TEST(SamplingScale, AssignFromAnotherClassFails)
{
    TScaleOwner other;
    EXPECT_THROW(TGLSamplingScale(nullptr).Assign(&other), EConvertError);
}

} // namespace

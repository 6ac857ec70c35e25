#pragma once
// The animated mesh. An actor plays a range of frames, either of its mesh objects'
// morph targets or of its skeleton's frames, stepped by the scene's progress at one
// frame per Interval milliseconds; between two frames it interpolates. Controllers can
// blend further skeleton animations in. The actor is drawn without a display list: its
// pose changes every frame.

#include "scene/objects/meshes/ActorAnimations.h"
#include "scene/objects/meshes/BaseMesh.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum TActorAnimationMode : std::uint8_t {
    aamNone,
    aamPlayOnce,
    aamLoop,
    aamBounceForward,
    aamBounceBackward,
    aamLoopBackward,
    aamExternal,
};
enum TActorFrameInterpolation : std::uint8_t { afpNone, afpLinear };
enum TGLActorOption : std::uint8_t { aoSkeletonNormalizeNormals };
using TGLActorOptions = std::uint8_t; // bit n for option n

using TActorNotifyEvent = std::function<void(TObject* sender)>;

class TGLActor : public TGLBaseMesh {
    KP_CLASS(TGLActor, TGLBaseMesh)
public:
    explicit TGLActor(TComponent* owner = nullptr);
    ~TGLActor() override;

    bool IsActor() const override { return true; }

    // Morph targets, skeleton frames or none, by Reference.
    int FrameCount() const;
    int FrameCount(TActorAnimationReference reference) const;

    // Accepted within [0, FrameCount); EndFrame and CurrentFrame follow.
    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int value);
    // Accepted within [0, FrameCount); CurrentFrame follows.
    int EndFrame() const { return endFrame_; }
    void SetEndFrame(int value);
    TActorAnimationReference Reference() const { return reference_; }
    void SetReference(TActorAnimationReference value);
    // Clamped to the frames (-1 without any); resets the delta, turns play-once into
    // none at the end frame and flips the bounce modes at the range ends, then fires
    // OnFrameChanged.
    int CurrentFrame() const { return currentFrame_; }
    void SetCurrentFrame(int value);
    // How far the pose has moved towards the next frame, 0 to 1.
    float CurrentFrameDelta() const { return currentFrameDelta_; }
    void SetCurrentFrameDelta(float value) { currentFrameDelta_ = value; }
    TActorFrameInterpolation FrameInterpolation() const { return frameInterpolation_; }
    void SetFrameInterpolation(TActorFrameInterpolation value) { frameInterpolation_ = value; }
    TActorAnimationMode AnimationMode() const { return animationMode_; }
    void SetAnimationMode(TActorAnimationMode value) { animationMode_ = value; }
    // Milliseconds per frame.
    int Interval() const { return interval_; }
    void SetInterval(int value) { interval_ = value; }
    TGLActorOptions Options() const { return options_; }
    void SetOptions(TGLActorOptions value);
    bool OverlaySkeleton() const { return overlaySkeleton_; }
    void SetOverlaySkeleton(bool value);
    TActorAnimations& Animations() { return *animations_; }
    const TActorAnimations& Animations() const { return *animations_; }
    void SetAnimations(const TActorAnimations& value) { animations_->Assign(&value); }
    // The animation a smooth switch waits to reach; nil when none.
    TActorAnimation* TargetSmoothAnimation() const { return targetSmoothAnimation_; }

    // The frame after the current one in the animation mode.
    int NextFrameIndex() const;
    // Steps that many frames, firing OnEndFrameReached and OnStartFrameReached.
    void NextFrame(int steps = 1);
    // Smooth: at the next frame step; otherwise now, from the animation's start frame.
    void SwitchToAnimation(TActorAnimation* animation, bool smooth = false);
    // Takes the reference actor's frame range, position and modes (and its skeleton
    // pose when both skeletons have frames).
    void SynchronizeFrom(const TGLActor& reference);

    // From an actor also the animations, the modes and the pose.
    void Assign(const TPersistent* source) override;
    // Advances by the elapsed time while animating.
    void DoProgress(const TProgressTimes& progressTime) override;
    // Poses the mesh for the current frame and delta, draws it, and the bones over it.
    void BuildList(TRenderContextInfo& rci) override;
    // The whole range of the loaded frames, from frame 0.
    void PrepareMesh() override;
    // The animations are cleared first.
    void LoadFromStream(const std::string& fileName, TStream& stream) override;
    // Nothing to prepare: the pose is built every frame.
    void PrepareBuildList(TRenderContextInfo& /*rci*/) override {}

    TActorNotifyEvent OnFrameChanged;
    TActorNotifyEvent OnEndFrameReached;
    TActorNotifyEvent OnStartFrameReached;

private:
    friend class TGLBaseAnimationControler;
    friend class TActorAnimation;
    void RegisterControler(TGLBaseAnimationControler* controler);
    void UnRegisterControler(TGLBaseAnimationControler* controler);
    void PoseSkeleton(int next);

    int startFrame_ = 0;
    int endFrame_ = 0;
    TActorAnimationReference reference_ = aarMorph;
    int currentFrame_ = 0;
    float currentFrameDelta_ = 0;
    TActorFrameInterpolation frameInterpolation_ = afpLinear;
    TActorAnimationMode animationMode_ = aamNone;
    int interval_ = 100;
    TGLActorOptions options_ = 1u << aoSkeletonNormalizeNormals;
    bool overlaySkeleton_ = false;
    std::unique_ptr<TActorAnimations> animations_;
    TActorAnimation* targetSmoothAnimation_ = nullptr;
    // Made with the first controller, freed when the last one leaves.
    std::unique_ptr<std::vector<TGLBaseAnimationControler*>> controlers_;
};

// The scene object's tree, placement, matrices and change chain. Rendering, bounds and
// hit tests are in SceneObjectRendering.cpp.

#include "scene/SceneObject.h"

#include "platform/core/Assert.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Filer.h"
#include "scene/Behaviours.h"
#include "scene/GLContext.h"
#include "scene/WorldInterfaces.h"
#include "scene/WorldRootObject.h"
#include "scene/base/ValueStream.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Sets a flag for its lifetime and restores the previous value, so nested rotations
// keep the guard up until the outermost one ends.
class TGuard {
public:
    explicit TGuard(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~TGuard() { flag_ = saved_; }
    TGuard(const TGuard&) = delete;
    TGuard& operator=(const TGuard&) = delete;

private:
    bool& flag_;
    bool saved_;
};

TAffineVector Affine(const TVector& v) { return {v.X, v.Y, v.Z}; }

TVector Direction0(const TAffineVector& v) { return {v.X, v.Y, v.Z, 0}; }

// right := a x b, falling back to Z x b and then X x b when a and b are (nearly)
// parallel, so a degenerate pair still gives a usable frame.
TAffineVector RightWithFallbacks(const TAffineVector& direction, const TAffineVector& up)
{
    TAffineVector right = AffineCrossProduct(direction, up);
    if (AffineVectorLength(right) < 1e-5) {
        right = AffineCrossProduct(ZVector, up);
        if (AffineVectorLength(right) < 1e-5) {
            right = AffineCrossProduct(XVector, up);
        }
    }
    return right;
}

} // namespace

// ---- Construction ----

TGLBaseSceneObject::TGLBaseSceneObject(TComponent* owner)
    : TGLCoordinatesUpdateAbleComponent(owner),
      localMatrix_(IdentityMatrix),
      absoluteMatrix_(IdentityMatrix),
      invAbsoluteMatrix_(IdentityMatrix),
      position_(std::make_unique<TGLCoordinates>(this, OriginPoint, TGLCoordinatesStyle::csPoint)),
      direction_(std::make_unique<TGLCoordinates>(this, ZHmgVector, TGLCoordinatesStyle::csVector)),
      up_(std::make_unique<TGLCoordinates>(this, YHmgVector, TGLCoordinatesStyle::csVector)),
      scale_(std::make_unique<TGLCoordinates>(this, XYZHmgVector, TGLCoordinatesStyle::csVector)),
      rotation_(std::make_unique<TGLCoordinates>(this, NullHmgVector, TGLCoordinatesStyle::csVector))
{
}

TGLBaseSceneObject::~TGLBaseSceneObject()
{
    Destroying();
    DeleteChildCameras();
    listHandle_.reset();
    effects_.reset();
    behaviours_.reset();
    if (parent_) {
        parent_->Remove(this, false);
    }
    if (!children_.empty()) {
        DeleteChildren();
    }
    if (pickName_ != 0) {
        ForgetPickName(pickName_);
    }
}

// ---- Tree ----

TGLBaseSceneObject* TGLBaseSceneObject::Children(int index) const
{
    KP_ASSERT(index >= 0 && index < Count());
    return children_[static_cast<std::size_t>(index)];
}

int TGLBaseSceneObject::IndexOfChild(const TGLBaseSceneObject* child) const
{
    const auto it = std::find(children_.begin(), children_.end(), child);
    return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

bool TGLBaseSceneObject::HasSubObject(const TGLBaseSceneObject* object) const
{
    for (const TGLBaseSceneObject* p = object; p; p = p->parent_) {
        if (p == this) {
            return true;
        }
    }
    return false;
}

void TGLBaseSceneObject::AddChild(TGLBaseSceneObject* child)
{
    // A cycle would make every tree walk endless.
    KP_ASSERT(child && !child->HasSubObject(this));
    // An object in two child lists would be freed twice.
    if (child->parent_) {
        child->parent_->Remove(child, false);
    }
    if (scene_) {
        scene_->AddLights(child);
    }
    children_.push_back(child);
    child->parent_ = this;
    child->SetScene(scene_);
    TransformationChanged();
    child->TransformationChanged();
}

namespace {

// A new scene object of a registered class, owned by `owner` when there is one.
TGLBaseSceneObject* CreateChildObject(TClass cls, TComponent* owner)
{
    RegisterSceneObjectClasses();
    TObject* made = CreateObjectByName(cls->name);
    auto* child = ObjectCast<TGLBaseSceneObject>(made);
    if (!child) {
        delete made;
        KP_ASSERT(false);
    }
    if (owner) {
        owner->InsertComponent(child);
    }
    return child;
}

} // namespace

TGLBaseSceneObject* TGLBaseSceneObject::AddNewChild(TClass cls)
{
    TGLBaseSceneObject* child = CreateChildObject(cls, Owner());
    AddChild(child);
    return child;
}

TGLBaseSceneObject* TGLBaseSceneObject::AddNewChildFirst(TClass cls)
{
    TGLBaseSceneObject* child = CreateChildObject(cls, Owner());
    Insert(0, child);
    return child;
}

void TGLBaseSceneObject::Insert(int index, TGLBaseSceneObject* child)
{
    KP_ASSERT(child && !child->HasSubObject(this));
    if (child->parent_) {
        child->parent_->Remove(child, false);
    }
    index = std::clamp(index, 0, Count());
    children_.insert(children_.begin() + index, child);
    child->parent_ = this;
    // SetScene frees the names the child made in another scene's contexts.
    child->SetScene(scene_);
    if (scene_) {
        scene_->AddLights(child);
    }
    child->TransformationChanged();
}

void TGLBaseSceneObject::Remove(TGLBaseSceneObject* child, bool keepChildren)
{
    const auto it = std::find(children_.begin(), children_.end(), child);
    if (it == children_.end()) {
        return;
    }
    if (scene_) {
        scene_->RemoveLights(child);
    }
    if (child->Owner() == this) {
        RemoveComponent(child);
    }
    // Found again: the ownership notification above runs other components' code.
    std::erase(children_, child);
    child->parent_ = nullptr;
    if (keepChildren) {
        BeginUpdate();
        while (child->Count() > 0) {
            child->children_.front()->MoveTo(this);
        }
        EndUpdate();
    } else {
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::MoveTo(TGLBaseSceneObject* newParent)
{
    KP_ASSERT(!newParent || !HasSubObject(newParent));
    if (parent_) {
        parent_->Remove(this, false);
    }
    if (newParent) {
        newParent->AddChild(this);
    } else {
        SetScene(nullptr);
    }
}

void TGLBaseSceneObject::DeleteChildren()
{
    DeleteChildCameras();
    if (scene_) {
        for (TGLBaseSceneObject* child : children_) {
            scene_->RemoveLights(child);
        }
    }
    while (!children_.empty()) {
        TGLBaseSceneObject* child = children_.back();
        children_.pop_back();
        child->parent_ = nullptr;
        delete child;
    }
}

void TGLBaseSceneObject::DeleteChildCameras()
{
    int i = 0;
    while (i < Count()) {
        TGLBaseSceneObject* child = children_[static_cast<std::size_t>(i)];
        child->DeleteChildCameras();
        if (child->IsCamera()) {
            Remove(child, true);
            delete child;
        } else {
            ++i;
        }
    }
}

int TGLBaseSceneObject::Index() const { return parent_ ? parent_->IndexOfChild(this) : -1; }

void TGLBaseSceneObject::SetIndex(int index)
{
    if (!parent_) {
        return;
    }
    TGLBaseSceneObject* parent = parent_;
    index = std::clamp(index, 0, parent->Count() - 1);
    if (index == Index()) {
        return;
    }
    TGLAbstractWorld* scene = scene_;
    if (scene) {
        scene->BeginUpdate();
    }
    parent->Remove(this, false);
    parent->Insert(index, this);
    if (scene) {
        scene->EndUpdate();
    }
}

void TGLBaseSceneObject::SetScene(TGLAbstractWorld* scene)
{
    if (scene == scene_) {
        return;
    }
    if (scene_) {
        DestroyHandles();
    }
    AssignSceneToSubtree(scene);
}

void TGLBaseSceneObject::AssignSceneToSubtree(TGLAbstractWorld* scene)
{
    scene_ = scene;
    for (TGLBaseSceneObject* child : children_) {
        child->AssignSceneToSubtree(scene);
    }
}

void TGLBaseSceneObject::SetParentComponent(TComponent* value)
{
    if (parent_) {
        parent_->Remove(this, false);
    }
    if (auto* world = ObjectCast<TGLAbstractWorld>(value)) {
        TGLBaseSceneObject* root = IsCamera() ? world->CameraRoot() : world->ObjectRoot();
        KP_ASSERT(root != nullptr);
        root->AddChild(this);
    } else if (auto* object = ObjectCast<TGLBaseSceneObject>(value)) {
        object->AddChild(this);
    } else {
        SetScene(nullptr);
    }
}

void TGLBaseSceneObject::GetChildren(const std::function<void(TComponent*)>& proc) const
{
    for (TGLBaseSceneObject* child : children_) {
        proc(child);
    }
}

void TGLBaseSceneObject::Notification(TComponent* component, TOperation operation)
{
    TGLCoordinatesUpdateAbleComponent::Notification(component, operation);
}

// ---- Placement ----

void TGLBaseSceneObject::Translate(float tx, float ty, float tz)
{
    position_->Translate(TAffineVector{tx, ty, tz});
}

void TGLBaseSceneObject::ApplyRotation(const TAffineVector& axis, float radians)
{
    const TMatrix m = MakeRotationMatrix(axis, radians);
    up_->SetVectorQuiet(Direction0(NormalizedAffineVector(TransformVector(up_->GetAsAffineVector(), m))));
    direction_->SetVectorQuiet(
        Direction0(NormalizedAffineVector(TransformVector(direction_->GetAsAffineVector(), m))));
}

// The three angles follow one convention: angle a is what Pitch (a), Turn (a) or
// Roll (a) gives from the reset orientation, and ResetAndPitchTurnRoll stores them so.
// Rotating adds to the angle, and setting an angle applies the rotation by the
// difference, so setting an angle back to its former value undoes a rotation.

void TGLBaseSceneObject::Pitch(float angle)
{
    {
        TGuard guard(rotationGuard_);
        ApplyRotation(Affine(LeftVector()), -angle * DegToRadFactor);
        StoreAngle(0, rotation_->X() + angle);
    }
    TransformationChanged();
}

void TGLBaseSceneObject::Turn(float angle)
{
    {
        TGuard guard(rotationGuard_);
        ApplyRotation(up_->GetAsAffineVector(), angle * DegToRadFactor);
        StoreAngle(1, rotation_->Y() + angle);
    }
    TransformationChanged();
}

void TGLBaseSceneObject::Roll(float angle)
{
    {
        TGuard guard(rotationGuard_);
        ApplyRotation(direction_->GetAsAffineVector(), angle * DegToRadFactor);
        StoreAngle(2, rotation_->Z() + angle);
    }
    TransformationChanged();
}

void TGLBaseSceneObject::StoreAngle(int component, float degrees)
{
    TVector rot = rotation_->AsVector();
    rot[component] = WrapDegrees180(degrees);
    rotation_->SetVectorQuiet(rot);
}

void TGLBaseSceneObject::SetAngle(int component, const TAffineVector& axis, float sense, float angle)
{
    const float stored = rotation_->AsVector()[component];
    if (angle == stored) {
        return;
    }
    if (!loading_) {
        {
            TGuard guard(rotationGuard_);
            ApplyRotation(axis, sense * (angle - stored) * DegToRadFactor);
        }
        TransformationChanged();
    }
    StoreAngle(component, angle);
}

// Pitch turns about the left vector the other way round from turn and roll.
void TGLBaseSceneObject::SetPitchAngle(float angle) { SetAngle(0, Affine(LeftVector()), -1, angle); }
void TGLBaseSceneObject::SetTurnAngle(float angle) { SetAngle(1, up_->GetAsAffineVector(), 1, angle); }
void TGLBaseSceneObject::SetRollAngle(float angle) { SetAngle(2, direction_->GetAsAffineVector(), 1, angle); }

void TGLBaseSceneObject::ResetRotations()
{
    const TVector s = scale_->AsVector();
    localMatrix_ = MakeScaleTranslationMatrix(TAffineVector{s.X, s.Y, s.Z}, position_->GetAsAffineVector());
    localMatrix_.V[3] = position_->AsVector();
    direction_->SetVectorQuiet(ZHmgVector);
    up_->SetVectorQuiet(YHmgVector);
    rotation_->SetVectorQuiet(NullHmgVector);
    TransformationChanged();
    // The matrix built above is already right.
    changes_ &= TGLObjectChangeFlags(~ChangeBit(ocTransformation));
}

void TGLBaseSceneObject::ResetAndPitchTurnRoll(float degX, float degY, float degZ)
{
    {
        TGuard guard(rotationGuard_);
        ResetRotations();
        ApplyRotation(Affine(LeftVector()), -degX * DegToRadFactor);
        ApplyRotation(up_->GetAsAffineVector(), degY * DegToRadFactor);
        ApplyRotation(direction_->GetAsAffineVector(), degZ * DegToRadFactor);
        rotation_->SetVectorQuiet(TVector{WrapDegrees180(degX), WrapDegrees180(degY), WrapDegrees180(degZ), 0});
    }
    TransformationChanged();
}

void TGLBaseSceneObject::RebuildMatrix() const
{
    const TVector s = scale_->AsVector();
    localMatrix_.V[0] = ScaledVector(RightVector(), s.X);
    localMatrix_.V[1] = ScaledVector(Direction0(up_->GetAsAffineVector()), s.Y);
    localMatrix_.V[2] = ScaledVector(Direction0(direction_->GetAsAffineVector()), s.Z);
    localMatrix_.V[3] = position_->AsVector();
    changes_ &= TGLObjectChangeFlags(~ChangeBit(ocTransformation));
    changes_ |= ChangeBit(ocAbsoluteMatrix) | ChangeBit(ocInverseMatrix);
}

const TMatrix& TGLBaseSceneObject::Matrix() const
{
    if (HasChange(ocTransformation)) {
        RebuildMatrix();
    }
    return localMatrix_;
}

void TGLBaseSceneObject::SetMatrix(const TMatrix& value)
{
    localMatrix_ = value;
    {
        TGuard guard(rotationGuard_);
        direction_->SetVectorQuiet(NormalizedVector(value.V[2]));
        up_->SetVectorQuiet(NormalizedVector(value.V[1]));
        scale_->SetVectorQuiet(TVector{static_cast<float>(VectorXYZLength(value.V[0])),
                                       static_cast<float>(VectorXYZLength(value.V[1])),
                                       static_cast<float>(VectorXYZLength(value.V[2])), 0});
        position_->SetVectorQuiet(value.V[3]);
    }
    TransformationChanged();
}

const TMatrix& TGLBaseSceneObject::AbsoluteMatrixRef() const
{
    if (HasChange(ocAbsoluteMatrix)) {
        const TMatrix& local = Matrix();
        if (parent_ && !parent_->Is<TGLWorldRootObject>()) {
            MultiplyMatrices(local, parent_->AbsoluteMatrixRef(), absoluteMatrix_);
        } else {
            absoluteMatrix_ = local;
        }
        changes_ &= TGLObjectChangeFlags(~ChangeBit(ocAbsoluteMatrix));
        changes_ |= ChangeBit(ocInverseMatrix);
    }
    return absoluteMatrix_;
}

const TMatrix& TGLBaseSceneObject::InvAbsoluteMatrixRef() const
{
    if (HasChange(ocInverseMatrix) || HasChange(ocAbsoluteMatrix)) {
        if (VectorEquals(scale_->AsVector(), XYZHmgVector)) {
            const TMatrix localInverse = InvertRotationScaleMatrix(Matrix());
            if (parent_ && !parent_->Is<TGLWorldRootObject>()) {
                MultiplyMatrices(parent_->InvAbsoluteMatrixRef(), localInverse, invAbsoluteMatrix_);
            } else {
                invAbsoluteMatrix_ = localInverse;
            }
        } else {
            invAbsoluteMatrix_ = AbsoluteMatrixRef();
            InvertMatrix(invAbsoluteMatrix_);
        }
        changes_ &= TGLObjectChangeFlags(~ChangeBit(ocInverseMatrix));
    }
    return invAbsoluteMatrix_;
}

TVector TGLBaseSceneObject::AbsolutePosition() const { return AbsoluteMatrixRef().V[3]; }

TVector TGLBaseSceneObject::AbsoluteDirection() const { return NormalizedVector(AbsoluteMatrixRef().V[2]); }

TVector TGLBaseSceneObject::AbsoluteUp() const { return NormalizedVector(AbsoluteMatrixRef().V[1]); }

TVector TGLBaseSceneObject::AbsoluteToLocal(const TVector& v) const
{
    return TransformVector(v, InvAbsoluteMatrixRef());
}

TAffineVector TGLBaseSceneObject::AbsoluteToLocal(const TAffineVector& v) const
{
    return TransformAffinePoint(v, InvAbsoluteMatrixRef());
}

TVector TGLBaseSceneObject::LocalToAbsolute(const TVector& v) const
{
    return TransformVector(v, AbsoluteMatrixRef());
}

TVector TGLBaseSceneObject::LeftVector() const
{
    return Direction0(AffineCrossProduct(direction_->GetAsAffineVector(), up_->GetAsAffineVector()));
}

TVector TGLBaseSceneObject::RightVector() const
{
    return Direction0(AffineCrossProduct(up_->GetAsAffineVector(), direction_->GetAsAffineVector()));
}

// ---- Change notification ----

void TGLBaseSceneObject::BeginUpdate() { ++updateCount_; }

void TGLBaseSceneObject::EndUpdate()
{
    KP_ASSERT_MSG(updateCount_ > 0, "Unbalanced Begin/EndUpdate");
    --updateCount_;
    if (updateCount_ == 0) {
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::NotifyChange(TObject* /*sender*/)
{
    if (scene_ && !IsUpdating()) {
        scene_->NotifyChange(this);
    }
}

void TGLBaseSceneObject::StructureChanged()
{
    if (!HasChange(ocStructure)) {
        changes_ |= ChangeBit(ocStructure);
        NotifyChange(this);
    } else if (HasStyle(osNoDisplayList)) {
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::TransformationChanged()
{
    if (HasChange(ocTransformation)) {
        return;
    }
    changes_ |= ChangeBit(ocTransformation);
    InvalidateAbsoluteMatrices();
    if (!loading_) {
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::InvalidateAbsoluteMatrices()
{
    constexpr TGLObjectChangeFlags both = ChangeBit(ocAbsoluteMatrix) | ChangeBit(ocInverseMatrix);
    if ((changes_ & both) == both) {
        return;
    }
    changes_ |= both;
    for (TGLBaseSceneObject* child : children_) {
        child->InvalidateAbsoluteMatrices();
    }
}

void TGLBaseSceneObject::OrthogonalizeFromDirection()
{
    TAffineVector d = direction_->GetAsAffineVector();
    if (AffineVectorSquaredLength(d) == 0) {
        d = ZVector;
    }
    d = NormalizedAffineVector(d);
    const TAffineVector right = RightWithFallbacks(d, up_->GetAsAffineVector());
    direction_->SetVectorQuiet(Direction0(d));
    up_->SetVectorQuiet(Direction0(NormalizedAffineVector(AffineCrossProduct(right, d))));
}

void TGLBaseSceneObject::OrthogonalizeFromUp()
{
    TAffineVector u = up_->GetAsAffineVector();
    if (AffineVectorSquaredLength(u) == 0) {
        u = YVector;
    }
    u = NormalizedAffineVector(u);
    const TAffineVector right = RightWithFallbacks(direction_->GetAsAffineVector(), u);
    up_->SetVectorQuiet(Direction0(u));
    direction_->SetVectorQuiet(Direction0(NormalizedAffineVector(AffineCrossProduct(u, right))));
}

void TGLBaseSceneObject::CoordinateChanged(TGLCoordinates* sender)
{
    if (rotationGuard_) {
        return;
    }
    {
        TGuard guard(rotationGuard_);
        if (sender == direction_.get()) {
            OrthogonalizeFromDirection();
        } else if (sender == up_.get()) {
            OrthogonalizeFromUp();
        } else if (sender == rotation_.get()) {
            ResetAndPitchTurnRoll(rotation_->X(), rotation_->Y(), rotation_->Z());
        }
    }
    TransformationChanged();
}

void TGLBaseSceneObject::Loaded()
{
    loading_ = false;
    TVector p = position_->AsVector();
    p.W = 1;
    position_->SetVectorQuiet(p);
    if (behaviours_) {
        behaviours_->Loaded();
    }
    if (effects_) {
        effects_->Loaded();
    }
}

// ---- Properties ----

void TGLBaseSceneObject::SetVisible(bool value)
{
    if (visible_ != value) {
        visible_ = value;
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::SetShowAxes(bool value)
{
    if (showAxes_ != value) {
        showAxes_ = value;
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::SetObjectsSorting(TGLObjectsSorting value)
{
    if (objectsSorting_ != value) {
        objectsSorting_ = value;
        NotifyChange(this);
    }
}

void TGLBaseSceneObject::SetVisibilityCulling(TGLVisibilityCulling value)
{
    if (visibilityCulling_ != value) {
        visibilityCulling_ = value;
        NotifyChange(this);
    }
}

TGLBehaviours& TGLBaseSceneObject::Behaviours()
{
    if (!behaviours_) {
        behaviours_ = std::make_unique<TGLBehaviours>(this);
    }
    return *behaviours_;
}

TGLObjectEffects& TGLBaseSceneObject::Effects()
{
    if (!effects_) {
        effects_ = std::make_unique<TGLObjectEffects>(this);
    }
    return *effects_;
}

void TGLBaseSceneObject::DoProgress(const TProgressTimes& progressTime)
{
    // Last to first, re-checking the count: a handler may free siblings.
    for (int i = Count() - 1; i >= 0; --i) {
        if (i < Count()) {
            children_[static_cast<std::size_t>(i)]->DoProgress(progressTime);
        }
    }
    if (behaviours_) {
        behaviours_->DoProgress(progressTime);
    }
    if (effects_) {
        effects_->DoProgress(progressTime);
    }
    if (OnProgress) {
        OnProgress(this, progressTime.deltaTime, progressTime.newTime);
    }
}

// ---- Streaming and assignment ----

void TGLBaseSceneObject::DefineProperties(TFiler* filer)
{
    TGLCoordinatesUpdateAbleComponent::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "BehavioursData",
        [this](TStream& stream) {
            TBinaryReader reader(stream);
            Behaviours().ReadFromFiler(reader);
        },
        [this](TStream& stream) {
            TBinaryWriter writer(stream);
            behaviours_->WriteToFiler(writer);
        },
        behaviours_ && behaviours_->Count() > 0);
    filer->DefineBinaryProperty(
        "EffectsData",
        [this](TStream& stream) {
            TBinaryReader reader(stream);
            Effects().ReadFromFiler(reader);
        },
        [this](TStream& stream) {
            TBinaryWriter writer(stream);
            effects_->WriteToFiler(writer);
        },
        effects_ && effects_->Count() > 0);
}

void TGLBaseSceneObject::Assign(const TPersistent* source)
{
    const auto* src = ObjectCast<TGLBaseSceneObject>(source);
    if (!src) {
        TGLCoordinatesUpdateAbleComponent::Assign(source);
        return;
    }
    if (src == this) {
        return;
    }
    // Deleting our children would free a source that lies below us.
    KP_ASSERT(!HasSubObject(src));
    DestroyHandle();
    SetVisible(src->visible_);
    SetMatrix(src->Matrix());
    SetShowAxes(src->showAxes_);
    SetObjectsSorting(src->objectsSorting_);
    SetVisibilityCulling(src->visibilityCulling_);
    rotation_->Assign(src->rotation_.get());
    DeleteChildren();
    SetScene(src->scene_);
    if (scene_) {
        scene_->BeginUpdate();
    }
    try {
        for (TGLBaseSceneObject* child : src->children_) {
            AddNewChild(child->ClassType())->Assign(child);
        }
    } catch (...) {
        if (scene_) {
            scene_->EndUpdate();
        }
        throw;
    }
    if (scene_) {
        scene_->EndUpdate();
    }
    OnProgress = src->OnProgress;
    if (src->behaviours_) {
        Behaviours().Assign(src->behaviours_.get());
    } else {
        behaviours_.reset();
    }
    if (src->effects_) {
        Effects().Assign(src->effects_.get());
    } else {
        effects_.reset();
    }
    tag_ = src->tag_;
    tagFloat_ = src->tagFloat_;
}

// The scene object's tree, placement, matrices and change chain. Rendering, bounds and
// hit tests are in SceneObjectRendering.cpp.

#include "scene/graph/SceneObject.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/objects/Filer.h"
#include "platform/core/ScopeGuard.h"
#include "scene/graph/Behaviours.h"
#include "scene/rendering/GLContext.h"
#include "scene/graph/WorldInterfaces.h"
#include "scene/graph/WorldRootObject.h"
#include "scene/base/ValueStream.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

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

const std::vector<TGLBaseSceneObject*> TGLBaseSceneObject::NoChildren;

TGLBaseSceneObject::TPlacement::TPlacement(TGLBaseSceneObject* owner)
    : Position(owner, OriginPoint, TGLCoordinatesStyle::csPoint),
      Direction(owner, ZHmgVector, TGLCoordinatesStyle::csVector),
      Up(owner, YHmgVector, TGLCoordinatesStyle::csVector),
      Scale(owner, XYZHmgVector, TGLCoordinatesStyle::csVector),
      Rotation(owner, NullHmgVector, TGLCoordinatesStyle::csVector),
      Local(IdentityMatrix),
      Absolute(IdentityMatrix),
      Inverse(IdentityMatrix)
{
}

TGLBaseSceneObject::TExtras::TExtras() = default;
TGLBaseSceneObject::TExtras::~TExtras() = default;

TGLBaseSceneObject::TGLBaseSceneObject(TComponent* owner) : TGLCoordinatesUpdateAbleComponent(owner) {}

TGLBaseSceneObject::~TGLBaseSceneObject()
{
    Destroying();
    DeleteChildCameras();
    if (extras_) {
        extras_->listHandle.reset();
        extras_->effects.reset();
        extras_->behaviours.reset();
    }
    if (parent_) {
        parent_->Remove(this, false);
    }
    if (Count() != 0) {
        DeleteChildrenQuietly();
    }
    if (extras_ && extras_->pickName != 0) {
        ForgetPickName(extras_->pickName);
    }
}

TGLBaseSceneObject::TPlacement& TGLBaseSceneObject::Placement() const
{
    if (!PlacementIfAny()) {
        // Until now the object sat where its parent is; matrices that count as known
        // keep those values.
        const TMatrix absolute = HasChange(ocAbsoluteMatrix) ? IdentityMatrix : AbsoluteMatrixRef();
        const TMatrix inverse = HasChange(ocInverseMatrix) ? IdentityMatrix : InvAbsoluteMatrixRef();
        std::unique_ptr<TPlacement>& placement = Extras().placement;
        placement = std::make_unique<TPlacement>(const_cast<TGLBaseSceneObject*>(this));
        placement->Absolute = absolute;
        placement->Inverse = inverse;
    }
    return *PlacementIfAny();
}

TGLBaseSceneObject::TExtras& TGLBaseSceneObject::Extras() const
{
    if (!extras_) {
        extras_ = std::make_unique<TExtras>();
    }
    return *extras_;
}

TVector TGLBaseSceneObject::ScaleVector() const
{
    const TPlacement* p = PlacementIfAny();
    return p ? p->Scale.AsVector() : XYZHmgVector;
}

void TGLBaseSceneObject::SetTag(int value)
{
    if (value != 0 || extras_) {
        Extras().tag = value;
    }
}

void TGLBaseSceneObject::SetTagFloat(float value)
{
    if (value != 0 || extras_) {
        Extras().tagFloat = value;
    }
}

// ---- Tree ----

TGLBaseSceneObject* TGLBaseSceneObject::Children(int index) const
{
    KP_ASSERT(index >= 0 && index < Count());
    return extras_->children[static_cast<std::size_t>(index)];
}

int TGLBaseSceneObject::IndexOfChild(const TGLBaseSceneObject* child) const
{
    const std::vector<TGLBaseSceneObject*>& children = ChildList();
    // From the end: the engine removes and looks for the newest polylines.
    for (std::size_t i = children.size(); i-- > 0;) {
        if (children[i] == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
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
    Extras().children.push_back(child);
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
    std::vector<TGLBaseSceneObject*>& children = Extras().children;
    children.insert(children.begin() + index, child);
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
    if (IndexOfChild(child) < 0) {
        return;
    }
    if (scene_) {
        scene_->RemoveLights(child);
    }
    if (child->Owner() == this) {
        RemoveComponent(child);
    }
    // Found again: the ownership notification above runs other components' code.
    const int index = IndexOfChild(child);
    if (index >= 0) {
        std::vector<TGLBaseSceneObject*>& children = extras_->children;
        children.erase(children.begin() + index);
    }
    child->parent_ = nullptr;
    if (keepChildren) {
        BeginUpdate();
        while (child->Count() > 0) {
            child->Children(0)->MoveTo(this);
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
    const bool had = Count() > 0;
    DeleteChildrenQuietly();
    // Viewers that keep a picture of the scene must hear that these are gone.
    if (had) {
        StructureChanged();
    }
}

void TGLBaseSceneObject::DeleteChildrenQuietly()
{
    DeleteChildCameras();
    if (scene_) {
        for (TGLBaseSceneObject* child : ChildList()) {
            scene_->RemoveLights(child);
        }
    }
    while (Count() > 0) {
        TGLBaseSceneObject* child = extras_->children.back();
        extras_->children.pop_back();
        child->parent_ = nullptr;
        delete child;
    }
}

void TGLBaseSceneObject::DeleteChildCameras()
{
    int i = 0;
    while (i < Count()) {
        TGLBaseSceneObject* child = Children(i);
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
    for (TGLBaseSceneObject* child : ChildList()) {
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
    for (TGLBaseSceneObject* child : ChildList()) {
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
    Position().Translate(TAffineVector{tx, ty, tz});
}

void TGLBaseSceneObject::ApplyRotation(const TAffineVector& axis, float radians)
{
    TPlacement& p = Placement();
    const TMatrix m = MakeRotationMatrix(axis, radians);
    p.Up.SetVectorQuiet(Direction0(NormalizedAffineVector(TransformVector(p.Up.GetAsAffineVector(), m))));
    p.Direction.SetVectorQuiet(
        Direction0(NormalizedAffineVector(TransformVector(p.Direction.GetAsAffineVector(), m))));
}

// The three angles follow one convention: angle a is what Pitch (a), Turn (a) or
// Roll (a) gives from the reset orientation, and ResetAndPitchTurnRoll stores them so.
// Rotating adds to the angle, and setting an angle applies the rotation by the
// difference, so setting an angle back to its former value undoes a rotation.

void TGLBaseSceneObject::Pitch(float angle)
{
    {
        // Nested rotations keep the guard up until the outermost one ends.
        const auto guard = SetForScope(rotationGuard_, true);
        ApplyRotation(Affine(LeftVector()), -angle * DegToRadFactor);
        StoreAngle(0, PitchAngle() + angle);
    }
    TransformationChanged();
}

void TGLBaseSceneObject::Turn(float angle)
{
    {
        const auto guard = SetForScope(rotationGuard_, true);
        ApplyRotation(Up().GetAsAffineVector(), angle * DegToRadFactor);
        StoreAngle(1, TurnAngle() + angle);
    }
    TransformationChanged();
}

void TGLBaseSceneObject::Roll(float angle)
{
    {
        const auto guard = SetForScope(rotationGuard_, true);
        ApplyRotation(Direction().GetAsAffineVector(), angle * DegToRadFactor);
        StoreAngle(2, RollAngle() + angle);
    }
    TransformationChanged();
}

void TGLBaseSceneObject::StoreAngle(int component, float degrees)
{
    TGLCoordinates& rotation = Placement().Rotation;
    TVector rot = rotation.AsVector();
    rot[component] = WrapDegrees180(degrees);
    rotation.SetVectorQuiet(rot);
}

void TGLBaseSceneObject::SetAngle(int component, const TAffineVector& axis, float sense, float angle)
{
    const TPlacement* placement = PlacementIfAny();
    const float stored = placement ? placement->Rotation.AsVector()[component] : 0.0f;
    if (angle == stored) {
        return;
    }
    if (!loading_) {
        {
            const auto guard = SetForScope(rotationGuard_, true);
            ApplyRotation(axis, sense * (angle - stored) * DegToRadFactor);
        }
        TransformationChanged();
    }
    StoreAngle(component, angle);
}

// Pitch turns about the left vector the other way round from turn and roll.
void TGLBaseSceneObject::SetPitchAngle(float angle) { SetAngle(0, Affine(LeftVector()), -1, angle); }
void TGLBaseSceneObject::SetTurnAngle(float angle) { SetAngle(1, Up().GetAsAffineVector(), 1, angle); }
void TGLBaseSceneObject::SetRollAngle(float angle) { SetAngle(2, Direction().GetAsAffineVector(), 1, angle); }

void TGLBaseSceneObject::ResetRotations()
{
    TPlacement& p = Placement();
    const TVector s = p.Scale.AsVector();
    p.Local = MakeScaleTranslationMatrix(TAffineVector{s.X, s.Y, s.Z}, p.Position.GetAsAffineVector());
    p.Local.V[3] = p.Position.AsVector();
    p.Direction.SetVectorQuiet(ZHmgVector);
    p.Up.SetVectorQuiet(YHmgVector);
    p.Rotation.SetVectorQuiet(NullHmgVector);
    TransformationChanged();
    // The matrix built above is already right.
    changes_ &= TGLObjectChangeFlags(~ChangeBit(ocTransformation));
}

void TGLBaseSceneObject::ResetAndPitchTurnRoll(float degX, float degY, float degZ)
{
    {
        const auto guard = SetForScope(rotationGuard_, true);
        ResetRotations();
        ApplyRotation(Affine(LeftVector()), -degX * DegToRadFactor);
        ApplyRotation(Up().GetAsAffineVector(), degY * DegToRadFactor);
        ApplyRotation(Direction().GetAsAffineVector(), degZ * DegToRadFactor);
        Rotation().SetVectorQuiet(TVector{WrapDegrees180(degX), WrapDegrees180(degY), WrapDegrees180(degZ), 0});
    }
    TransformationChanged();
}

void TGLBaseSceneObject::RebuildMatrix() const
{
    if (TPlacement* placement = PlacementIfAny()) {
        TPlacement& p = *placement;
        const TVector s = p.Scale.AsVector();
        p.Local.V[0] = ScaledVector(RightVector(), s.X);
        p.Local.V[1] = ScaledVector(Direction0(p.Up.GetAsAffineVector()), s.Y);
        p.Local.V[2] = ScaledVector(Direction0(p.Direction.GetAsAffineVector()), s.Z);
        p.Local.V[3] = p.Position.AsVector();
    }
    changes_ &= TGLObjectChangeFlags(~ChangeBit(ocTransformation));
    changes_ |= ChangeBit(ocAbsoluteMatrix) | ChangeBit(ocInverseMatrix);
}

const TMatrix& TGLBaseSceneObject::Matrix() const
{
    if (HasChange(ocTransformation)) {
        RebuildMatrix();
    }
    // The default placement is the identity.
    const TPlacement* p = PlacementIfAny();
    return p ? p->Local : IdentityMatrix;
}

void TGLBaseSceneObject::SetMatrix(const TMatrix& value)
{
    TPlacement& p = Placement();
    p.Local = value;
    {
        const auto guard = SetForScope(rotationGuard_, true);
        p.Direction.SetVectorQuiet(NormalizedVector(value.V[2]));
        p.Up.SetVectorQuiet(NormalizedVector(value.V[1]));
        p.Scale.SetVectorQuiet(TVector{static_cast<float>(VectorXYZLength(value.V[0])),
                                       static_cast<float>(VectorXYZLength(value.V[1])),
                                       static_cast<float>(VectorXYZLength(value.V[2])), 0});
        p.Position.SetVectorQuiet(value.V[3]);
    }
    TransformationChanged();
}

const TMatrix& TGLBaseSceneObject::AbsoluteMatrixRef() const
{
    const bool underParent = parent_ && !parent_->Is<TGLWorldRootObject>();
    TPlacement* p = PlacementIfAny();
    if (!p) {
        // Local is the identity: the absolute matrix is the parent's, kept there.
        if (HasChange(ocAbsoluteMatrix)) {
            Matrix();
            changes_ &= TGLObjectChangeFlags(~ChangeBit(ocAbsoluteMatrix));
            changes_ |= ChangeBit(ocInverseMatrix);
        }
        return underParent ? parent_->AbsoluteMatrixRef() : IdentityMatrix;
    }
    if (HasChange(ocAbsoluteMatrix)) {
        const TMatrix& local = Matrix();
        if (underParent) {
            MultiplyMatrices(local, parent_->AbsoluteMatrixRef(), p->Absolute);
        } else {
            p->Absolute = local;
        }
        changes_ &= TGLObjectChangeFlags(~ChangeBit(ocAbsoluteMatrix));
        changes_ |= ChangeBit(ocInverseMatrix);
    }
    return p->Absolute;
}

const TMatrix& TGLBaseSceneObject::InvAbsoluteMatrixRef() const
{
    const bool underParent = parent_ && !parent_->Is<TGLWorldRootObject>();
    TPlacement* p = PlacementIfAny();
    if (!p) {
        if (HasChange(ocInverseMatrix) || HasChange(ocAbsoluteMatrix)) {
            Matrix();
            changes_ &= TGLObjectChangeFlags(~ChangeBit(ocInverseMatrix));
        }
        return underParent ? parent_->InvAbsoluteMatrixRef() : IdentityMatrix;
    }
    if (HasChange(ocInverseMatrix) || HasChange(ocAbsoluteMatrix)) {
        TMatrix& inverse = p->Inverse;
        if (VectorEquals(p->Scale.AsVector(), XYZHmgVector)) {
            const TMatrix localInverse = InvertRotationScaleMatrix(Matrix());
            if (underParent) {
                MultiplyMatrices(parent_->InvAbsoluteMatrixRef(), localInverse, inverse);
            } else {
                inverse = localInverse;
            }
        } else {
            inverse = AbsoluteMatrixRef();
            InvertMatrix(inverse);
        }
        changes_ &= TGLObjectChangeFlags(~ChangeBit(ocInverseMatrix));
    }
    return p->Inverse;
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
    const TPlacement* p = PlacementIfAny();
    if (!p) {
        return Direction0(AffineCrossProduct(ZVector, YVector));
    }
    return Direction0(AffineCrossProduct(p->Direction.GetAsAffineVector(), p->Up.GetAsAffineVector()));
}

TVector TGLBaseSceneObject::RightVector() const
{
    const TPlacement* p = PlacementIfAny();
    if (!p) {
        return Direction0(AffineCrossProduct(YVector, ZVector));
    }
    return Direction0(AffineCrossProduct(p->Up.GetAsAffineVector(), p->Direction.GetAsAffineVector()));
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
    for (TGLBaseSceneObject* child : ChildList()) {
        child->InvalidateAbsoluteMatrices();
    }
}

void TGLBaseSceneObject::OrthogonalizeFromDirection()
{
    TPlacement& p = Placement();
    TAffineVector d = p.Direction.GetAsAffineVector();
    if (AffineVectorSquaredLength(d) == 0) {
        d = ZVector;
    }
    d = NormalizedAffineVector(d);
    const TAffineVector right = RightWithFallbacks(d, p.Up.GetAsAffineVector());
    p.Direction.SetVectorQuiet(Direction0(d));
    p.Up.SetVectorQuiet(Direction0(NormalizedAffineVector(AffineCrossProduct(right, d))));
}

void TGLBaseSceneObject::OrthogonalizeFromUp()
{
    TPlacement& p = Placement();
    TAffineVector u = p.Up.GetAsAffineVector();
    if (AffineVectorSquaredLength(u) == 0) {
        u = YVector;
    }
    u = NormalizedAffineVector(u);
    const TAffineVector right = RightWithFallbacks(p.Direction.GetAsAffineVector(), u);
    p.Up.SetVectorQuiet(Direction0(u));
    p.Direction.SetVectorQuiet(Direction0(NormalizedAffineVector(AffineCrossProduct(u, right))));
}

void TGLBaseSceneObject::CoordinateChanged(TGLCoordinates* sender)
{
    if (rotationGuard_) {
        return;
    }
    if (TPlacement* placement = PlacementIfAny()) {
        const auto guard = SetForScope(rotationGuard_, true);
        TPlacement& p = *placement;
        if (sender == &p.Direction) {
            OrthogonalizeFromDirection();
        } else if (sender == &p.Up) {
            OrthogonalizeFromUp();
        } else if (sender == &p.Rotation) {
            ResetAndPitchTurnRoll(p.Rotation.X(), p.Rotation.Y(), p.Rotation.Z());
        }
    }
    TransformationChanged();
}

void TGLBaseSceneObject::Loaded()
{
    loading_ = false;
    if (TPlacement* placement = PlacementIfAny()) {
        TVector p = placement->Position.AsVector();
        p.W = 1;
        placement->Position.SetVectorQuiet(p);
    }
    if (TGLBehaviours* behaviours = BehavioursIfAny()) {
        behaviours->Loaded();
    }
    if (TGLObjectEffects* effects = EffectsIfAny()) {
        effects->Loaded();
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
    std::unique_ptr<TGLBehaviours>& behaviours = Extras().behaviours;
    if (!behaviours) {
        behaviours = std::make_unique<TGLBehaviours>(this);
    }
    return *behaviours;
}

TGLObjectEffects& TGLBaseSceneObject::Effects()
{
    std::unique_ptr<TGLObjectEffects>& effects = Extras().effects;
    if (!effects) {
        effects = std::make_unique<TGLObjectEffects>(this);
    }
    return *effects;
}

void TGLBaseSceneObject::DoProgress(const TProgressTimes& progressTime)
{
    // Last to first, re-checking the count: a handler may free siblings.
    for (int i = Count() - 1; i >= 0; --i) {
        if (i < Count()) {
            Children(i)->DoProgress(progressTime);
        }
    }
    if (TGLBehaviours* behaviours = BehavioursIfAny()) {
        behaviours->DoProgress(progressTime);
    }
    if (TGLObjectEffects* effects = EffectsIfAny()) {
        effects->DoProgress(progressTime);
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
            BehavioursIfAny()->WriteToFiler(writer);
        },
        HasBehaviours() && BehavioursIfAny()->Count() > 0);
    filer->DefineBinaryProperty(
        "EffectsData",
        [this](TStream& stream) {
            TBinaryReader reader(stream);
            Effects().ReadFromFiler(reader);
        },
        [this](TStream& stream) {
            TBinaryWriter writer(stream);
            EffectsIfAny()->WriteToFiler(writer);
        },
        HasEffects() && EffectsIfAny()->Count() > 0);
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
    if (src->PlacementIfAny() || PlacementIfAny()) {
        SetMatrix(src->Matrix());
        Rotation().Assign(&src->Rotation());
    } else {
        // Both sit where their parents are: the matrix is the identity either way.
        TransformationChanged();
    }
    SetShowAxes(src->showAxes_);
    SetObjectsSorting(src->objectsSorting_);
    SetVisibilityCulling(src->visibilityCulling_);
    DeleteChildren();
    SetScene(src->scene_);
    if (scene_) {
        scene_->BeginUpdate();
    }
    try {
        for (TGLBaseSceneObject* child : src->ChildList()) {
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
    if (src->HasBehaviours()) {
        Behaviours().Assign(src->BehavioursIfAny());
    } else if (extras_) {
        extras_->behaviours.reset();
    }
    if (src->HasEffects()) {
        Effects().Assign(src->EffectsIfAny());
    } else if (extras_) {
        extras_->effects.reset();
    }
    SetTag(src->Tag());
    SetTagFloat(src->TagFloat());
}

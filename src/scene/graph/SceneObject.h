#pragma once
// The node of the scene graph. Every camera, light, line, box or mesh is one: it knows
// its parent, children and scene, carries its placement (Position, Direction, Up,
// Scale and the pitch, turn and roll angles derived from them), keeps its local matrix
// and the absolute and inverse absolute matrices lazily behind change flags, and
// reports every change up to its scene so that the viewers repaint.
//
// Children are owned by their parent's tree: a parent frees its children, whoever
// their component owner is, and a freed child leaves its parent first.
//
// A tool path is hundreds of thousands of these, so an object keeps only its tree
// links, flags and change state inline. Its placement (coordinates and matrices) is
// made when it is first asked for or changed; until then the object sits where its
// parent is. Children lists, behaviours, effects, the display list, tags and the
// picking name come into being on first use too.

#include "scene/graph/Coordinates.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/graph/UpdateAble.h"
#include "scene/base/BoundingBoxes.h"
#include "scene/base/OpenGLBinding.h"
#include "scene/base/Silhouette.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TGLAbstractWorld;
class TGLAbstractWorldBuffer;
class TGLBehaviours;
class TGLObjectEffects;
class TGLListHandle;

enum TGLObjectStyle : std::uint8_t {
    osNoDisplayList,          // BuildList runs every frame, no display list
    osResetStatesAfterRender, // the state cache is reset after the object rendered
    osIgnoreDepthBuffer,      // depth test off while the object renders
    osNeverCulled,            // visibility culling never skips it
};
using TGLObjectStyleFlags = std::uint8_t; // bit n for style n
constexpr TGLObjectStyleFlags StyleBit(TGLObjectStyle style)
{
    return TGLObjectStyleFlags(1u << style);
}

enum TGLObjectChange : std::uint8_t {
    ocTransformation, // the local matrix must be rebuilt
    ocAbsoluteMatrix, // the absolute matrix is stale
    ocInverseMatrix,  // the inverse absolute matrix is stale
    ocStructure,      // the display list must be recompiled
};
using TGLObjectChangeFlags = std::uint8_t; // bit n for change n
constexpr TGLObjectChangeFlags ChangeBit(TGLObjectChange change)
{
    return TGLObjectChangeFlags(1u << change);
}
constexpr TGLObjectChangeFlags AllObjectChanges = 0x0F;

using TGLProgressEvent = std::function<void(TObject* sender, double deltaTime, double newTime)>;

// A progress event that costs one pointer while nobody handles it. Assign any callable
// (or nullptr), test it and call it as the std::function it holds.
class TGLProgressSlot {
public:
    TGLProgressSlot() = default;
    TGLProgressSlot(const TGLProgressSlot& other) { *this = other; }
    TGLProgressSlot& operator=(const TGLProgressSlot& other)
    {
        if (this != &other) {
            handler_ = other.handler_ ? std::make_unique<TGLProgressEvent>(*other.handler_) : nullptr;
        }
        return *this;
    }
    TGLProgressSlot& operator=(std::nullptr_t)
    {
        handler_.reset();
        return *this;
    }
    template <class F>
    TGLProgressSlot& operator=(F&& handler)
    {
        TGLProgressEvent event(std::forward<F>(handler));
        handler_ = event ? std::make_unique<TGLProgressEvent>(std::move(event)) : nullptr;
        return *this;
    }
    explicit operator bool() const { return handler_ != nullptr; }
    void operator()(TObject* sender, double deltaTime, double newTime) const { (*handler_)(sender, deltaTime, newTime); }

private:
    std::unique_ptr<TGLProgressEvent> handler_;
};

class TGLBaseSceneObject : public TGLCoordinatesUpdateAbleComponent {
    KP_CLASS(TGLBaseSceneObject, TGLCoordinatesUpdateAbleComponent)
public:
    explicit TGLBaseSceneObject(TComponent* owner = nullptr);
    ~TGLBaseSceneObject() override;

    // Made with the parent as component owner and added as its last child.
    template <class T>
    static T* CreateAsChild(TGLBaseSceneObject* parent)
    {
        T* object = new T(parent);
        parent->AddChild(object);
        return object;
    }

    // ---- Tree ----
    int Count() const { return extras_ ? static_cast<int>(extras_->children.size()) : 0; }
    // Assertion outside 0 .. Count - 1.
    TGLBaseSceneObject* Children(int index) const;
    TGLBaseSceneObject* Parent() const { return parent_; }
    TGLAbstractWorld* Scene() const { return scene_; }
    int IndexOfChild(const TGLBaseSceneObject* child) const;

    // An object that already has a parent leaves it first; an object cannot become a
    // child of itself or of its own subtree (assertion).
    virtual void AddChild(TGLBaseSceneObject* child);
    // Created with this object's owner as owner; the class must be registered.
    virtual TGLBaseSceneObject* AddNewChild(TClass cls);
    virtual TGLBaseSceneObject* AddNewChildFirst(TClass cls);
    template <class T>
    T* AddNewChild()
    {
        T* child = new T(Owner());
        AddChild(child);
        return child;
    }
    // index is clamped to 0 .. Count.
    virtual void Insert(int index, TGLBaseSceneObject* child);
    // Only for own children. keepChildren true hands the child's children to this object.
    virtual void Remove(TGLBaseSceneObject* child, bool keepChildren);
    // nullptr detaches the object from its parent and its scene.
    virtual void MoveTo(TGLBaseSceneObject* newParent);
    // Frees every child and tells the scene its structure changed.
    virtual void DeleteChildren();
    void DeleteChildCameras();

    // Position among the siblings, -1 without parent.
    int Index() const;
    void SetIndex(int index);
    // A scene change destroys the subtree's OpenGL names first.
    void SetScene(TGLAbstractWorld* scene);
    bool HasSubObject(const TGLBaseSceneObject* object) const;

    // Streaming parent: a scene means its camera or object root.
    virtual void SetParentComponent(TComponent* value);
    virtual TComponent* GetParentComponent() const { return parent_; }
    virtual bool HasParent() const { return parent_ != nullptr; }
    virtual void GetChildren(const std::function<void(TComponent*)>& proc) const;
    // Cameras are taken out of a tree before it is freed, and land under a scene's
    // camera root when streamed.
    virtual bool IsCamera() const { return false; }

    // ---- Placement ----
    TGLCoordinates& Position() { return Placement().Position; }
    const TGLCoordinates& Position() const { return Placement().Position; }
    TGLCoordinates& Direction() { return Placement().Direction; }
    const TGLCoordinates& Direction() const { return Placement().Direction; }
    TGLCoordinates& Up() { return Placement().Up; }
    const TGLCoordinates& Up() const { return Placement().Up; }
    TGLCoordinates& Scale() { return Placement().Scale; }
    const TGLCoordinates& Scale() const { return Placement().Scale; }
    TGLCoordinates& Rotation() { return Placement().Rotation; }
    const TGLCoordinates& Rotation() const { return Placement().Rotation; }
    void SetPosition(const TGLCoordinates& value) { Position().SetAsVector(value.AsVector()); }
    void SetDirection(const TGLCoordinates& value) { Direction().SetAsVector(value.AsVector()); }
    void SetUp(const TGLCoordinates& value) { Up().SetAsVector(value.AsVector()); }
    void SetScale(const TGLCoordinates& value) { Scale().SetAsVector(value.AsVector()); }
    void Translate(float tx, float ty, float tz);
    // False while the object has its default placement and holds no coordinates.
    bool HasPlacement() const { return PlacementIfAny() != nullptr; }

    // Degrees, about the object's own axes; each adds to its angle. Setting an angle
    // rotates by the difference, so angle a is the orientation Pitch/Turn/Roll (a)
    // gives from the reset one.
    void Pitch(float angle);
    void Turn(float angle);
    void Roll(float angle);
    float PitchAngle() const { return PlacementIfAny() ? PlacementIfAny()->Rotation.X() : 0.0f; }
    float TurnAngle() const { return PlacementIfAny() ? PlacementIfAny()->Rotation.Y() : 0.0f; }
    float RollAngle() const { return PlacementIfAny() ? PlacementIfAny()->Rotation.Z() : 0.0f; }
    void SetPitchAngle(float angle);
    void SetTurnAngle(float angle);
    void SetRollAngle(float angle);
    void ResetRotations();
    void ResetAndPitchTurnRoll(float degX, float degY, float degZ);

    // The local matrix, rebuilt first when stale.
    const TMatrix& Matrix() const;
    void SetMatrix(const TMatrix& value);
    const TMatrix& AbsoluteMatrixRef() const;
    TMatrix AbsoluteMatrix() const { return AbsoluteMatrixRef(); }
    const TMatrix& InvAbsoluteMatrixRef() const;
    TMatrix InvAbsoluteMatrix() const { return InvAbsoluteMatrixRef(); }
    TVector AbsolutePosition() const;
    TVector AbsoluteDirection() const;
    TVector AbsoluteUp() const;
    TVector AbsoluteToLocal(const TVector& v) const;
    // A point: translation included.
    TAffineVector AbsoluteToLocal(const TAffineVector& v) const;
    TVector LocalToAbsolute(const TVector& v) const;
    // Direction x Up and Up x Direction, W 0.
    TVector LeftVector() const;
    TVector RightVector() const;

    // ---- Change notification ----
    virtual void BeginUpdate();
    virtual void EndUpdate();
    bool IsUpdating() const { return updateCount_ != 0 || loading_; }
    void NotifyChange(TObject* sender) override;
    void StructureChanged() override;
    void TransformationChanged();
    void InvalidateAbsoluteMatrices();
    void CoordinateChanged(TGLCoordinates* sender) override;
    TGLObjectChangeFlags Changes() const { return changes_; }
    void ClearStructureChanged() { changes_ &= TGLObjectChangeFlags(~ChangeBit(ocStructure)); }

    // While loading, rotations are not applied and transformations notify nothing;
    // Loaded ends it.
    void BeginLoading() { loading_ = true; }
    bool IsLoading() const { return loading_; }
    virtual void Loaded();

    // ---- Properties ----
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    bool ShowAxes() const { return showAxes_; }
    void SetShowAxes(bool value);
    TGLObjectsSorting ObjectsSorting() const { return objectsSorting_; }
    void SetObjectsSorting(TGLObjectsSorting value);
    TGLVisibilityCulling VisibilityCulling() const { return visibilityCulling_; }
    void SetVisibilityCulling(TGLVisibilityCulling value);
    TGLObjectStyleFlags ObjectStyle() const { return objectStyle_; }
    int Tag() const { return extras_ ? extras_->tag : 0; }
    void SetTag(int value);
    float TagFloat() const { return extras_ ? extras_->tagFloat : 0.0f; }
    void SetTagFloat(float value);

    // Created on first use.
    TGLBehaviours& Behaviours();
    TGLObjectEffects& Effects();
    bool HasBehaviours() const { return BehavioursIfAny() != nullptr; }
    bool HasEffects() const { return EffectsIfAny() != nullptr; }
    // Without creating them; nullptr when there is none.
    TGLBehaviours* BehavioursIfAny() const { return extras_ ? extras_->behaviours.get() : nullptr; }
    TGLObjectEffects* EffectsIfAny() const { return extras_ ? extras_->effects.get() : nullptr; }

    // Children last to first, then behaviours, effects and OnProgress.
    void DoProgress(const TProgressTimes& progressTime) override;

    // "BehavioursData" and "EffectsData", each only when the collection has items.
    void DefineProperties(TFiler* filer) override;
    // From a scene object: placement, options, a copy of the subtree, behaviours and
    // effects; anything else goes to the inherited Assign.
    void Assign(const TPersistent* source) override;

    // ---- Display list and rendering ----
    virtual GLuint GetHandle(TRenderContextInfo& rci);
    bool HasValidDisplayList() const;
    virtual void DestroyHandle();
    void DestroyHandles();
    // The object's OpenGL drawing; empty here.
    virtual void BuildList(TRenderContextInfo& rci);
    void Render(TRenderContextInfo& rci);
    virtual void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren);
    virtual void RenderChildren(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci);
    // Decides the place in osRenderBlendedLast sorting.
    virtual bool Blended() const { return false; }
    // Red, green and blue lines along the axes, dashed by the pattern.
    static void AxesBuildList(TRenderContextInfo& rci, GLushort pattern, float axisLength);

    // ---- Bounds and hit tests ----
    virtual TVector AbsoluteBarycenter() const { return AbsolutePosition(); }
    virtual TVector UnscaledHalfExtents() const { return {0.5f, 0.5f, 0.5f, 0}; }
    TVector GetHalfExtents() const;
    TAABB BoundingBox() const;
    TAABB UnscaledBoundingBox() const;
    float BoundingSphereRadius() const;
    float UnscaledBoundingSphereRadius() const;
    float SqrDistanceTo(const TVector& point) const;
    float BarycenterSqrDistanceTo(const TVector& point) const;
    virtual bool IsPointInside(const TAffineVector& point) const;
    // The outputs are written only on a hit.
    virtual bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector,
                                  TVector* intersectPoint = nullptr, TVector* intersectNormal = nullptr);
    // The outline of the bounding sphere seen as the parameters say; nullptr when the
    // object has none.
    virtual std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void SetStyle(TGLObjectStyleFlags style) { objectStyle_ = style; }
    void IncludeStyle(TGLObjectStyle style) { objectStyle_ |= StyleBit(style); }
    void ExcludeStyle(TGLObjectStyle style) { objectStyle_ &= TGLObjectStyleFlags(~StyleBit(style)); }
    bool HasStyle(TGLObjectStyle style) const { return (objectStyle_ & StyleBit(style)) != 0; }
    // The draw of one frame: BuildList directly, or the display list.
    void DrawSelf(TRenderContextInfo& rci);

private:
    bool HasChange(TGLObjectChange change) const { return (changes_ & ChangeBit(change)) != 0; }
    void RebuildMatrix() const;
    void ForceLocalMatrix(const TMatrix& matrix);
    void ApplyRotation(const TAffineVector& axis, float radians);
    // Component 0 pitch, 1 turn, 2 roll; folded into -180..180, without notification.
    void StoreAngle(int component, float degrees);
    // Rotates about the axis by the difference to the stored angle (sense -1 turns the
    // other way), unless loading, then stores the new angle.
    void SetAngle(int component, const TAffineVector& axis, float sense, float angle);
    void OrthogonalizeFromDirection();
    void OrthogonalizeFromUp();
    void RenderSorted(int first, int last, TRenderContextInfo& rci);
    void DoRenderWithoutDepthTest(TRenderContextInfo& rci, bool renderSelf, bool renderChildren);
    void AssignSceneToSubtree(TGLAbstractWorld* scene);

    // The coordinates and the matrices derived from them.
    struct TPlacement {
        explicit TPlacement(TGLBaseSceneObject* owner);
        TGLCoordinates Position;
        TGLCoordinates Direction;
        TGLCoordinates Up;
        TGLCoordinates Scale;
        TGLCoordinates Rotation;
        TMatrix Local;
        TMatrix Absolute;
        TMatrix Inverse;
    };
    // The parts that most objects never use.
    struct TExtras {
        TExtras();
        ~TExtras();
        std::unique_ptr<TPlacement> placement;
        std::vector<TGLBaseSceneObject*> children;
        std::unique_ptr<TGLBehaviours> behaviours;
        std::unique_ptr<TGLObjectEffects> effects;
        std::unique_ptr<TGLListHandle> listHandle;
        int tag = 0;
        float tagFloat = 0;
        // The selection name handed to OpenGL when picking; 0 until first needed.
        GLuint pickName = 0;
    };
    // Made on first need; the matrices then start as the default placement gives them.
    TPlacement& Placement() const;
    TPlacement* PlacementIfAny() const { return extras_ ? extras_->placement.get() : nullptr; }
    TExtras& Extras() const;
    const std::vector<TGLBaseSceneObject*>& ChildList() const { return extras_ ? extras_->children : NoChildren; }
    // Scale (1, 1, 1) while there is no placement.
    TVector ScaleVector() const;
    static const std::vector<TGLBaseSceneObject*> NoChildren;

    // The byte-sized fields first, so they fill the component's tail padding.
    TGLObjectStyleFlags objectStyle_ = 0;
    mutable TGLObjectChangeFlags changes_ = AllObjectChanges;
    bool visible_ = true;
    bool showAxes_ = false;
    bool rotationGuard_ = false;
    bool loading_ = false;
    TGLObjectsSorting objectsSorting_ = osInherited;
    TGLVisibilityCulling visibilityCulling_ = vcInherited;
    int updateCount_ = 0;
    TGLBaseSceneObject* parent_ = nullptr;
    TGLAbstractWorld* scene_ = nullptr;
    mutable std::unique_ptr<TExtras> extras_;

public:
    // Fired after the children, behaviours and effects progressed.
    TGLProgressSlot OnProgress;

private:
    // Frees every child without telling anyone (the destructor's way).
    void DeleteChildrenQuietly();

    friend GLuint PickNameOf(const TGLBaseSceneObject* object);
};

// The selection name of an object for picking, made on first request. Object
// addresses do not fit OpenGL's 32-bit names, so each object gets a small number.
GLuint PickNameOf(const TGLBaseSceneObject* object);
// The object a selection name stands for; nullptr when it is unknown or freed.
TGLBaseSceneObject* ObjectOfPickName(GLuint name);
// Called by a freed object.
void ForgetPickName(GLuint name);

// Registers the scene object classes of this library for creation by name.
void RegisterSceneObjectClasses();

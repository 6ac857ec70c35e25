#pragma once
// The node of the scene graph. Every camera, light, line, box or mesh is one: it knows
// its parent, children and scene, carries its placement (Position, Direction, Up,
// Scale and the pitch, turn and roll angles derived from them), keeps its local matrix
// and the absolute and inverse absolute matrices lazily behind change flags, and
// reports every change up to its scene so that the viewers repaint.
//
// Children are owned by their parent's tree: a parent frees its children, whoever
// their component owner is, and a freed child leaves its parent first.

#include "scene/Coordinates.h"
#include "scene/RenderContextInfo.h"
#include "scene/UpdateAble.h"
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
    int Count() const { return static_cast<int>(children_.size()); }
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
    TGLCoordinates& Position() { return *position_; }
    const TGLCoordinates& Position() const { return *position_; }
    TGLCoordinates& Direction() { return *direction_; }
    const TGLCoordinates& Direction() const { return *direction_; }
    TGLCoordinates& Up() { return *up_; }
    const TGLCoordinates& Up() const { return *up_; }
    TGLCoordinates& Scale() { return *scale_; }
    const TGLCoordinates& Scale() const { return *scale_; }
    TGLCoordinates& Rotation() { return *rotation_; }
    const TGLCoordinates& Rotation() const { return *rotation_; }
    void SetPosition(const TGLCoordinates& value) { position_->SetAsVector(value.AsVector()); }
    void SetDirection(const TGLCoordinates& value) { direction_->SetAsVector(value.AsVector()); }
    void SetUp(const TGLCoordinates& value) { up_->SetAsVector(value.AsVector()); }
    void SetScale(const TGLCoordinates& value) { scale_->SetAsVector(value.AsVector()); }
    void Translate(float tx, float ty, float tz);

    // Degrees, about the object's own axes; each adds to its angle. Setting an angle
    // rotates by the difference, so angle a is the orientation Pitch/Turn/Roll (a)
    // gives from the reset one.
    void Pitch(float angle);
    void Turn(float angle);
    void Roll(float angle);
    float PitchAngle() const { return rotation_->X(); }
    float TurnAngle() const { return rotation_->Y(); }
    float RollAngle() const { return rotation_->Z(); }
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
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }
    float TagFloat() const { return tagFloat_; }
    void SetTagFloat(float value) { tagFloat_ = value; }

    TGLProgressEvent OnProgress;

    // Created on first use.
    TGLBehaviours& Behaviours();
    TGLObjectEffects& Effects();
    bool HasBehaviours() const { return behaviours_ != nullptr; }
    bool HasEffects() const { return effects_ != nullptr; }
    // Without creating them; nullptr when there is none.
    TGLBehaviours* BehavioursIfAny() const { return behaviours_.get(); }
    TGLObjectEffects* EffectsIfAny() const { return effects_.get(); }

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

    mutable TMatrix localMatrix_;
    mutable TMatrix absoluteMatrix_;
    mutable TMatrix invAbsoluteMatrix_;
    TGLObjectStyleFlags objectStyle_ = 0;
    std::unique_ptr<TGLListHandle> listHandle_;
    std::unique_ptr<TGLCoordinates> position_;
    std::unique_ptr<TGLCoordinates> direction_;
    std::unique_ptr<TGLCoordinates> up_;
    std::unique_ptr<TGLCoordinates> scale_;
    mutable TGLObjectChangeFlags changes_ = AllObjectChanges;
    TGLBaseSceneObject* parent_ = nullptr;
    TGLAbstractWorld* scene_ = nullptr;
    std::vector<TGLBaseSceneObject*> children_;
    bool visible_ = true;
    int updateCount_ = 0;
    bool showAxes_ = false;
    std::unique_ptr<TGLCoordinates> rotation_;
    bool rotationGuard_ = false;
    bool loading_ = false;
    TGLObjectsSorting objectsSorting_ = osInherited;
    TGLVisibilityCulling visibilityCulling_ = vcInherited;
    std::unique_ptr<TGLBehaviours> behaviours_;
    std::unique_ptr<TGLObjectEffects> effects_;
    int tag_ = 0;
    float tagFloat_ = 0;
    // The selection name handed to OpenGL when picking; 0 until first needed.
    mutable GLuint pickName_ = 0;

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

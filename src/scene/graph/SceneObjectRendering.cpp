// How a scene object draws itself in a pass (culling, matrix, picking name, axes,
// effects, state reset), compiles its drawing into a display list, orders its
// children, and answers bounding and hit-test questions.

#include "scene/graph/SceneObject.h"

#include "platform/core/Assert.h"
#include "scene/graph/Behaviours.h"
#include "scene/rendering/GLContext.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/graph/WorldInterfaces.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <unordered_map>

// ---- Picking names ----

namespace {

struct TPickNames {
    std::unordered_map<GLuint, TGLBaseSceneObject*> objects;
    GLuint next = 1;
};

TPickNames& PickNames()
{
    static TPickNames names;
    return names;
}

} // namespace

GLuint PickNameOf(const TGLBaseSceneObject* object)
{
    GLuint& name = const_cast<TGLBaseSceneObject*>(object)->Extras().pickName;
    if (name == 0) {
        TPickNames& names = PickNames();
        while (names.next == 0 || names.objects.count(names.next) != 0) {
            ++names.next;
        }
        name = names.next++;
        names.objects[name] = const_cast<TGLBaseSceneObject*>(object);
    }
    return name;
}

TGLBaseSceneObject* ObjectOfPickName(GLuint name)
{
    const auto& objects = PickNames().objects;
    const auto it = objects.find(name);
    return it == objects.end() ? nullptr : it->second;
}

void ForgetPickName(GLuint name) { PickNames().objects.erase(name); }

// ---- Display list ----

GLuint TGLBaseSceneObject::GetHandle(TRenderContextInfo& rci)
{
    if (HasValidDisplayList()) {
        return extras_->listHandle->Handle();
    }
    // Cleared before compiling, so a change made while compiling marks the list stale.
    ClearStructureChanged();
    std::unique_ptr<TGLListHandle>& handle = Extras().listHandle;
    if (!handle) {
        handle = std::make_unique<TGLListHandle>();
    }
    if (handle->Handle() == 0) {
        handle->AllocateHandle();
        KP_ASSERT(handle->Handle() != 0);
    }
    const GLuint name = handle->Handle();
    GL.glNewList(name, GL_COMPILE);
    try {
        BuildList(rci);
    } catch (...) {
        GL.glEndList();
        changes_ |= ChangeBit(ocStructure);
        throw;
    }
    GL.glEndList();
    return name;
}

bool TGLBaseSceneObject::HasValidDisplayList() const
{
    return extras_ && extras_->listHandle && extras_->listHandle->Handle() != 0 && !HasChange(ocStructure);
}

void TGLBaseSceneObject::DestroyHandle()
{
    if (extras_ && extras_->listHandle) {
        extras_->listHandle->DestroyHandle();
    }
}

void TGLBaseSceneObject::DestroyHandles()
{
    for (TGLBaseSceneObject* child : ChildList()) {
        child->DestroyHandles();
    }
    DestroyHandle();
}

void TGLBaseSceneObject::BuildList(TRenderContextInfo& /*rci*/) {}

// ---- Rendering ----

void TGLBaseSceneObject::DrawSelf(TRenderContextInfo& rci)
{
    if (HasStyle(osNoDisplayList) || rci.amalgamating) {
        BuildList(rci);
    } else {
        GL.glCallList(GetHandle(rci));
    }
}

void TGLBaseSceneObject::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf) {
        DrawSelf(rci);
    }
    if (renderChildren) {
        RenderChildren(0, Count() - 1, rci);
    }
}

void TGLBaseSceneObject::DoRenderWithoutDepthTest(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    // Restores what was there: a buffer drawing without depth test keeps it off.
    const bool wasOn = rci.GLStates && (rci.GLStates->States() & StateBit(stDepthTest)) != 0;
    if (rci.GLStates) {
        rci.GLStates->Disable(stDepthTest);
    }
    DoRender(rci, renderSelf, renderChildren);
    if (wasOn) {
        rci.GLStates->Enable(stDepthTest);
    }
}

void TGLBaseSceneObject::Render(TRenderContextInfo& rci)
{
    bool selfVisible = true;
    bool childrenVisible = Count() != 0;
    switch (rci.visibilityCulling) {
    case vcInherited:
    case vcNone:
        break;
    case vcObjectBased:
        if (!HasStyle(osNeverCulled)) {
            selfVisible = !SphereOutsideFrustum(AbsolutePosition(), rci.rcci.frustum, BoundingSphereRadius());
        }
        break;
    case vcHierarchical:
        if (!HasStyle(osNeverCulled)) {
            TAABB box = UnscaledBoundingBox();
            TransformAABB(box, AbsoluteMatrixRef());
            selfVisible = !BoxOutsideFrustum(box.Min, box.Max, rci.rcci.frustum);
        }
        childrenVisible = childrenVisible && selfVisible;
        break;
    default:
        KP_ASSERT_MSG(false, "Unknown visibility culling option");
    }
    if (!selfVisible && !childrenVisible) {
        return;
    }

    GL.glPushMatrix();
    GL.glMultMatrixf(&Matrix().V[0].X);
    const bool picking = rci.drawState == dsPicking;
    if (picking) {
        if (rci.proxySubObject) {
            GL.glPushName(PickNameOf(this));
        } else {
            GL.glLoadName(PickNameOf(this));
        }
    }

    if (!selfVisible) {
        if (HasStyle(osIgnoreDepthBuffer) && rci.buffer && rci.buffer->DepthTest()) {
            DoRenderWithoutDepthTest(rci, false, childrenVisible);
        } else {
            DoRender(rci, false, childrenVisible);
        }
    } else {
        if (showAxes_ && rci.scene) {
            AxesBuildList(rci, 0xCCCC, rci.scene->CurrentDepthOfView());
        }
        const bool withEffects = HasEffects() && EffectsIfAny()->Count() > 0;
        if (withEffects) {
            GL.glPushMatrix();
            EffectsIfAny()->RenderPreEffects(rci.buffer, rci);
            GL.glPopMatrix();
            GL.glPushMatrix();
        }
        if (HasStyle(osIgnoreDepthBuffer)) {
            DoRenderWithoutDepthTest(rci, true, childrenVisible);
        } else {
            DoRender(rci, true, childrenVisible);
        }
        if (HasStyle(osResetStatesAfterRender) && rci.GLStates) {
            rci.GLStates->ResetAll();
        }
        if (withEffects) {
            // An effect handler may have dropped the collection's items meanwhile.
            if (TGLObjectEffects* effects = EffectsIfAny()) {
                effects->RenderPostEffects(rci.buffer, rci);
            }
            GL.glPopMatrix();
        }
    }

    if (picking && rci.proxySubObject) {
        GL.glPopName();
    }
    GL.glPopMatrix();
}

namespace {

struct TSortEntry {
    float key;
    TGLBaseSceneObject* object;
};

// One scratch list per nesting level of RenderChildren, kept across frames, so that
// sorting does not allocate once the lists have grown. A deque, so that a nested level
// adding its list does not move the lists of the levels above it.
class TSortScratch {
public:
    TSortScratch() : index_(Depth())
    {
        if (Pool().size() <= index_) {
            Pool().emplace_back();
        }
        Pool()[index_].clear();
        ++Depth();
    }
    ~TSortScratch() { --Depth(); }
    TSortScratch(const TSortScratch&) = delete;
    TSortScratch& operator=(const TSortScratch&) = delete;

    std::vector<TSortEntry>& List() { return Pool()[index_]; }

private:
    static std::deque<std::vector<TSortEntry>>& Pool()
    {
        static std::deque<std::vector<TSortEntry>> pool;
        return pool;
    }
    static std::size_t& Depth()
    {
        static std::size_t depth = 0;
        return depth;
    }
    std::size_t index_;
};

// Ascending keys, then drawn from the last to the first.
void RenderSortedDescending(std::vector<TSortEntry>& entries, TRenderContextInfo& rci)
{
    std::sort(entries.begin(), entries.end(),
              [](const TSortEntry& a, const TSortEntry& b) { return a.key < b.key; });
    for (std::size_t i = entries.size(); i-- > 0;) {
        entries[i].object->Render(rci);
    }
}

} // namespace

void TGLBaseSceneObject::RenderSorted(int first, int last, TRenderContextInfo& rci)
{
    switch (rci.objectsSorting) {
    case osNone:
    case osInherited:
        for (int i = first; i <= last && i < Count(); ++i) {
            TGLBaseSceneObject* child = Children(i);
            if (child->Visible()) {
                child->Render(rci);
            }
        }
        break;
    case osRenderFarthestFirst:
    case osRenderNearestFirst: {
        TSortScratch scratch;
        const bool farthest = rci.objectsSorting == osRenderFarthestFirst;
        for (int i = first; i <= last; ++i) {
            TGLBaseSceneObject* child = Children(i);
            if (child->Visible()) {
                const float d = child->BarycenterSqrDistanceTo(rci.cameraPosition);
                scratch.List().push_back({farthest ? d + 1 : -1 - d, child});
            }
        }
        RenderSortedDescending(scratch.List(), rci);
        break;
    }
    case osRenderBlendedLast: {
        TSortScratch scratch;
        for (int i = first; i <= last; ++i) {
            TGLBaseSceneObject* child = Children(i);
            if (!child->Visible()) {
                continue;
            }
            if (child->Blended()) {
                scratch.List().push_back({child->BarycenterSqrDistanceTo(rci.cameraPosition) + 1, child});
            } else {
                child->Render(rci);
            }
        }
        RenderSortedDescending(scratch.List(), rci);
        break;
    }
    default:
        KP_ASSERT(false);
    }
}

void TGLBaseSceneObject::RenderChildren(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci)
{
    if (Count() == 0) {
        return;
    }
    const int first = std::max(firstChildIndex, 0);
    const int last = std::min(lastChildIndex, Count() - 1);
    const TGLVisibilityCulling savedCulling = rci.visibilityCulling;
    if (visibilityCulling_ != vcInherited) {
        rci.visibilityCulling = visibilityCulling_;
    }
    if (first == last) {
        TGLBaseSceneObject* child = Children(first);
        if (child->Visible()) {
            child->Render(rci);
        }
    } else if (first < last) {
        const TGLObjectsSorting savedSorting = rci.objectsSorting;
        if (objectsSorting_ != osInherited) {
            rci.objectsSorting = objectsSorting_;
        }
        try {
            RenderSorted(first, last, rci);
        } catch (...) {
            rci.objectsSorting = savedSorting;
            rci.visibilityCulling = savedCulling;
            throw;
        }
        rci.objectsSorting = savedSorting;
    }
    rci.visibilityCulling = savedCulling;
}

void TGLBaseSceneObject::AxesBuildList(TRenderContextInfo& rci, GLushort pattern, float axisLength)
{
    GL.glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_LINE_BIT);
    GL.glDisable(GL_LIGHTING);
    GL.glEnable(GL_LINE_STIPPLE);
    if (!rci.ignoreBlending) {
        GL.glEnable(GL_BLEND);
        GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    GL.glLineWidth(1);
    GL.glLineStipple(1, pattern);
    GL.glBegin(GL_LINES);
    GL.glColor3f(0.5f, 0, 0);
    GL.glVertex3f(0, 0, 0);
    GL.glVertex3f(-axisLength, 0, 0);
    GL.glColor3f(1, 0, 0);
    GL.glVertex3f(0, 0, 0);
    GL.glVertex3f(axisLength, 0, 0);
    GL.glColor3f(0, 0.5f, 0);
    GL.glVertex3f(0, 0, 0);
    GL.glVertex3f(0, -axisLength, 0);
    GL.glColor3f(0, 1, 0);
    GL.glVertex3f(0, 0, 0);
    GL.glVertex3f(0, axisLength, 0);
    GL.glColor3f(0, 0, 0.5f);
    GL.glVertex3f(0, 0, 0);
    GL.glVertex3f(0, 0, -axisLength);
    GL.glColor3f(0, 0, 1);
    GL.glVertex3f(0, 0, 0);
    GL.glVertex3f(0, 0, axisLength);
    GL.glEnd();
    GL.glPopAttrib();
}

// ---- Bounds and hit tests ----

TVector TGLBaseSceneObject::GetHalfExtents() const
{
    TVector h = UnscaledHalfExtents();
    const TVector s = ScaleVector();
    return {h.X * s.X, h.Y * s.Y, h.Z * s.Z, 0};
}

TAABB TGLBaseSceneObject::UnscaledBoundingBox() const
{
    TAABB box;
    const TVector h = UnscaledHalfExtents();
    SetAABBFromExtents(box, TAffineVector{h.X, h.Y, h.Z});
    for (const TGLBaseSceneObject* child : ChildList()) {
        TAABB childBox = child->UnscaledBoundingBox();
        TransformAABB(childBox, child->Matrix());
        AddAABB(box, childBox);
    }
    return box;
}

TAABB TGLBaseSceneObject::BoundingBox() const
{
    TAABB box = UnscaledBoundingBox();
    const TVector s = ScaleVector();
    ScaleAABB(box, TAffineVector{s.X, s.Y, s.Z});
    return box;
}

float TGLBaseSceneObject::BoundingSphereRadius() const
{
    return static_cast<float>(VectorXYZLength(GetHalfExtents()));
}

float TGLBaseSceneObject::UnscaledBoundingSphereRadius() const
{
    return static_cast<float>(VectorXYZLength(UnscaledHalfExtents()));
}

float TGLBaseSceneObject::SqrDistanceTo(const TVector& point) const
{
    return static_cast<float>(SquaredAffineDistance(AbsolutePosition(), point));
}

float TGLBaseSceneObject::BarycenterSqrDistanceTo(const TVector& point) const
{
    return static_cast<float>(SquaredAffineDistance(AbsoluteBarycenter(), point));
}

bool TGLBaseSceneObject::IsPointInside(const TAffineVector& point) const
{
    const TAffineVector local = TransformAffinePoint(point, InvAbsoluteMatrixRef());
    const TVector half = GetHalfExtents();
    const TVector s = ScaleVector();
    return std::fabs(double(local.X) * s.X) <= half.X && std::fabs(double(local.Y) * s.Y) <= half.Y &&
           std::fabs(double(local.Z) * s.Z) <= half.Z;
}

bool TGLBaseSceneObject::RayCastIntersect(const TVector& rayStart, const TVector& rayVector,
                                          TVector* intersectPoint, TVector* intersectNormal)
{
    // The sphere test measures along the ray, so it needs a unit vector.
    const TVector direction = NormalizedVector(rayVector);
    if (VectorXYZLength(direction) == 0) {
        return false;
    }
    const TVector centre = AbsolutePosition();
    TVector i1{}, i2{};
    if (IntersectRaySphere(rayStart, direction, centre, BoundingSphereRadius(), i1, i2) <= 0) {
        return false;
    }
    if (intersectPoint) {
        *intersectPoint = i1;
    }
    if (intersectNormal) {
        *intersectNormal = NormalizedVector(SubtractVectors(i1, centre));
    }
    return true;
}

std::unique_ptr<TGLSilhouette> TGLBaseSceneObject::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    constexpr int segments = 21;
    constexpr float step = 0.2991993f; // 2 pi / 21
    float r = UnscaledBoundingSphereRadius();
    const TAffineVector& seenFrom = params.Position;
    switch (params.Style) {
    case TGLSilhouetteStyle::ssFromPoint: {
        const float apparent = SphereApparentRadius(static_cast<float>(AffineVectorLength(seenFrom)), r);
        // An eye inside the sphere would put the outline at infinity.
        if (std::isfinite(apparent)) {
            r = apparent;
        }
        break;
    }
    case TGLSilhouetteStyle::ssFromDirection:
        break;
    default:
        KP_ASSERT(false);
    }
    TAffineVector u = AffineCrossProduct(seenFrom, XVector);
    if (AffineVectorLength(u) < 0.001) {
        u = AffineCrossProduct(seenFrom, YVector);
    }
    TAffineVector v = AffineCrossProduct(seenFrom, u);
    u = NormalizedAffineVector(u);
    v = NormalizedAffineVector(v);

    auto silhouette = std::make_unique<TGLSilhouette>();
    silhouette->Vertices.EnsureCapacity(segments + 1);
    for (int i = 0; i < segments; ++i) {
        const double a = double(i) * step;
        const float c = static_cast<float>(std::cos(a) * r);
        const float s = static_cast<float>(std::sin(a) * r);
        silhouette->Vertices.AddPoint(CombineAffineVectors(u, v, c, s));
        silhouette->Indices.AddPair(i, (i + 1) % segments);
        if (params.Capping) {
            silhouette->CapIndices.AddTriple(segments, i, (i + 1) % segments);
        }
    }
    if (params.Capping) {
        silhouette->Vertices.AddPoint(NullVector);
    }
    return silhouette;
}

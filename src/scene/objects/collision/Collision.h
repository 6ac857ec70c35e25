#pragma once
// Pairwise collision detection. An object takes part by carrying a TGLBCollision in
// its Behaviours; the behaviour registers with a TCollisionManager, whose
// CheckCollisions finds the colliding pairs with a sort-and-sweep on world boxes and
// confirms each with the exact test its two bounding modes choose.
//
// A pass reports its pairs only after the sweep is complete: OnCollision handlers ask
// the user (a modal box runs the event loop, which can tick the animation and call
// CheckCollisions again, or free objects), so a pass must never be running under a
// handler. A pass started while another one reports returns at once, and a client
// unregistered (or freed) by a handler is dropped from the pairs still to report.

#include "platform/core/objects/Component.h"
#include "scene/graph/Behaviours.h"
#include "scene/objects/collision/CollisionTests.h"

#include <functional>
#include <string>
#include <vector>

class TGLBaseSceneObject;
class TGLBCollision;

using TObjectCollisionEvent =
    std::function<void(TObject* sender, TGLBaseSceneObject* object1, TGLBaseSceneObject* object2)>;

// One participant of a pass: the client and its box in world coordinates.
struct TCollisionNode {
    TGLBCollision* Client;
    TAABB Box;
};

class TCollisionManager : public TComponent {
    KP_CLASS(TCollisionManager, TComponent)
public:
    // Joins the named managers, so loaded behaviours find it by name.
    explicit TCollisionManager(TComponent* owner = nullptr);
    ~TCollisionManager() override;

    // Ignores nullptr and clients already registered.
    void RegisterClient(TGLBCollision* client);
    void DeRegisterClient(TGLBCollision* client);
    void DeRegisterAllClients();
    int ClientCount() const { return static_cast<int>(clients_.size()); }
    TGLBCollision* Clients(int index) const { return clients_[static_cast<std::size_t>(index)]; }

    // One pass; nothing at all without an OnCollision handler.
    void CheckCollisions();

    TObjectCollisionEvent OnCollision;

private:
    void BuildNodes();
    void Sweep();
    void ReportPairs();

    std::vector<TGLBCollision*> clients_;
    // Storage of one pass, kept to avoid allocating at every animation step.
    std::vector<TCollisionNode> nodes_;
    std::vector<std::pair<TGLBCollision*, TGLBCollision*>> pairs_;
    bool inPass_ = false;
};

class TGLBCollision : public TGLBehaviour {
    KP_CLASS(TGLBCollision, TGLBehaviour)
    KP_XCOLLECTION_ITEM(TGLBCollision)
public:
    TGLBCollision() = default;
    ~TGLBCollision() override;

    static std::string ClassTitle() { return "Collision"; }
    static std::string ClassDescription() { return "Collision-detection registration"; }

    TCollisionManager* Manager() const { return manager_; }
    // Moves the registration from the current manager to `value`.
    void SetManager(TCollisionManager* value);
    TCollisionBoundingMode BoundingMode = cbmPoint;
    int GroupIndex() const { return groupIndex_; }
    // Negative takes the object out of the checks; equal non-zero groups never collide.
    void SetGroupIndex(int value) { groupIndex_ = value; }

    // From a collision behaviour: the manager (registering), bounding mode and group.
    void Assign(const TPersistent* source) override;

    // Version 1, the manager's name, the bounding mode, the group. Reading leaves the
    // behaviour unregistered until Loaded finds the named manager; a bounding mode
    // outside the known ones is a read error.
    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;
    void Loaded() override;

    // The manager name read from a stream and not yet resolved.
    const std::string& PendingManagerName() const { return managerNameToResolve_; }

private:
    friend class TCollisionManager;
    TCollisionManager* manager_ = nullptr;
    int groupIndex_ = 0;
    std::string managerNameToResolve_;
};

// Registers the behaviour for streaming by name and the manager class; once.
void RegisterCollisionClasses();

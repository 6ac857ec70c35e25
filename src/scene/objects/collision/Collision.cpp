#include "scene/objects/collision/Collision.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/ClassRegistry.h"
#include "scene/graph/NamedManagers.h"
#include "scene/graph/SceneObject.h"

#include <algorithm>

// ---- TCollisionManager ----

TCollisionManager::TCollisionManager(TComponent* owner) : TComponent(owner)
{
    AddNamedManager(this);
}

TCollisionManager::~TCollisionManager()
{
    DeRegisterAllClients();
    RemoveNamedManager(this);
}

void TCollisionManager::RegisterClient(TGLBCollision* client)
{
    // A client is in the list exactly while its manager is this one.
    if (!client || client->manager_ == this) {
        return;
    }
    clients_.push_back(client);
    client->manager_ = this;
}

void TCollisionManager::DeRegisterClient(TGLBCollision* client)
{
    if (!client || client->manager_ != this) {
        return;
    }
    client->manager_ = nullptr;
    // From the end: clients mostly go last first (a run's clamp boxes).
    const auto it = std::find(clients_.rbegin(), clients_.rend(), client);
    clients_.erase(std::next(it).base());
    // A handler may free an object whose pair is still to be reported.
    for (auto& pair : pairs_) {
        if (pair.first == client || pair.second == client) {
            pair = {nullptr, nullptr};
        }
    }
}

void TCollisionManager::DeRegisterAllClients()
{
    for (TGLBCollision* client : clients_) {
        client->manager_ = nullptr;
    }
    clients_.clear();
    for (auto& pair : pairs_) {
        pair = {nullptr, nullptr};
    }
}

void TCollisionManager::CheckCollisions()
{
    if (!OnCollision || inPass_) {
        return;
    }
    inPass_ = true;
    struct TPassEnd {
        TCollisionManager& self;
        ~TPassEnd()
        {
            self.nodes_.clear();
            self.pairs_.clear();
            self.inPass_ = false;
        }
    } passEnd{*this};
    BuildNodes();
    if (nodes_.size() >= 2) {
        std::sort(nodes_.begin(), nodes_.end(),
                  [](const TCollisionNode& a, const TCollisionNode& b) { return a.Box.Min.Z < b.Box.Min.Z; });
        Sweep();
    }
    nodes_.clear();
    ReportPairs();
}

void TCollisionManager::BuildNodes()
{
    nodes_.clear();
    for (TGLBCollision* client : clients_) {
        if (client->GroupIndex() < 0) {
            continue;
        }
        const TGLBaseSceneObject* object = client->OwnerBaseSceneObject();
        if (!object) {
            continue;
        }
        TAABB box = object->UnscaledBoundingBox();
        // An empty or flat box on Z cannot be swept.
        if (!(box.Min.Z < box.Max.Z)) {
            continue;
        }
        TransformAABB(box, object->AbsoluteMatrixRef());
        nodes_.push_back({client, box});
    }
}

void TCollisionManager::Sweep()
{
    pairs_.clear();
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) {
        const TCollisionNode& a = nodes_[i];
        for (std::size_t j = i + 1; j < nodes_.size() && nodes_[j].Box.Min.Z <= a.Box.Max.Z; ++j) {
            const TCollisionNode& b = nodes_[j];
            const int groupA = a.Client->GroupIndex();
            const int groupB = b.Client->GroupIndex();
            if (groupA != 0 && groupA == groupB) {
                continue;
            }
            if (!OverlapAABBsXY(a.Box, b.Box)) {
                continue;
            }
            const TCollisionTest test = CollisionTestTable[a.Client->BoundingMode][b.Client->BoundingMode];
            if (test(a.Client->OwnerBaseSceneObject(), b.Client->OwnerBaseSceneObject())) {
                pairs_.emplace_back(a.Client, b.Client);
            }
        }
    }
}

void TCollisionManager::ReportPairs()
{
    if (pairs_.empty()) {
        return;
    }
    // A copy: a handler may replace OnCollision while it runs.
    const TObjectCollisionEvent handler = OnCollision;
    // By index: a handler that unregisters a client blanks its pairs in place.
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const auto [a, b] = pairs_[i];
        if (a && b) {
            handler(this, a->OwnerBaseSceneObject(), b->OwnerBaseSceneObject());
        }
    }
}

// ---- TGLBCollision ----

TGLBCollision::~TGLBCollision()
{
    SetManager(nullptr);
}

void TGLBCollision::SetManager(TCollisionManager* value)
{
    if (value == manager_) {
        return;
    }
    if (manager_) {
        manager_->DeRegisterClient(this);
    }
    if (value) {
        value->RegisterClient(this);
    }
}

void TGLBCollision::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLBCollision>(source)) {
        SetManager(other->manager_);
        BoundingMode = other->BoundingMode;
        groupIndex_ = other->groupIndex_;
    }
    TGLBehaviour::Assign(source);
}

void TGLBCollision::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(1);
    writer.WriteString(manager_ ? manager_->GetNamePath() : std::string());
    writer.WriteInteger(BoundingMode);
    writer.WriteInteger(groupIndex_);
}

void TGLBCollision::ReadFromFiler(TVirtualReader& reader)
{
    const int version = reader.ReadInteger();
    KP_ASSERT(version == 0 || version == 1);
    std::string managerName = reader.ReadString();
    const int mode = reader.ReadInteger();
    if (mode < 0 || mode >= CollisionBoundingModeCount) {
        throw EReadError("Invalid collision bounding mode " + std::to_string(mode));
    }
    managerNameToResolve_ = std::move(managerName);
    BoundingMode = static_cast<TCollisionBoundingMode>(mode);
    SetManager(nullptr);
    groupIndex_ = version == 1 ? reader.ReadInteger() : 0;
}

void TGLBCollision::Loaded()
{
    TGLBehaviour::Loaded();
    if (managerNameToResolve_.empty()) {
        return;
    }
    TComponent* found = FindNamedManager(TCollisionManager::StaticClass(), managerNameToResolve_);
    if (found) {
        SetManager(static_cast<TCollisionManager*>(found));
    }
    managerNameToResolve_.clear();
}

void RegisterCollisionClasses()
{
    static const bool registered = [] {
        RegisterXCollectionItemClass<TGLBCollision>();
        RegisterClass<TCollisionManager>();
        return true;
    }();
    (void)registered;
}

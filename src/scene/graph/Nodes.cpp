#include "scene/graph/Nodes.h"

#include "platform/core/Assert.h"
#include "platform/core/text/NumberFormat.h"
#include "scene/base/CubicSpline.h"
#include "scene/base/VectorGeometry.h"

#include <vector>

// ---- TGLNode ----

void TGLNode::SetCoordinate(int index, float value)
{
    KP_ASSERT(index >= 0 && index <= 2);
    coords_[index] = value;
    NotifyNodes();
}

void TGLNode::SetAsVector(const TVector& v)
{
    coords_ = v;
    NotifyNodes();
}

void TGLNode::NotifyNodes()
{
    TCollection* collection = Collection();
    if (!collection) {
        return;
    }
    auto* nodes = ObjectCast<TGLNodes>(collection);
    if (!nodes) {
        throw EConvertError("Invalid class typecast");
    }
    nodes->NotifyChange();
}

void TGLNode::Assign(const TPersistent* source)
{
    if (const auto* node = ObjectCast<TGLNode>(source)) {
        coords_ = node->coords_;
    } else {
        TCollectionItem::Assign(source);
    }
}

std::string TGLNode::GetDisplayName() const
{
    return FloatToStrFixed(coords_.X, 4) + "; " + FloatToStrFixed(coords_.Y, 4) + "; " +
           FloatToStrFixed(coords_.Z, 4);
}

// ---- TGLNodes ----

TGLNodes::TGLNodes(TPersistent* owner, TCollectionItemClass itemClass)
    : TOwnedCollection(owner, itemClass.cls ? std::move(itemClass) : CollectionItemClassOf<TGLNode>())
{
}

TGLNode* TGLNodes::AddNode(const TVector& v)
{
    TGLNode* node = Add();
    node->SetAsVector(v);
    return node;
}

void TGLNodes::NotifyChange()
{
    if (UpdateCount() != 0) {
        return;
    }
    if (auto* owner = ObjectCast<TGLUpdateAbleComponent>(GetOwner())) {
        owner->NotifyChange(this);
    }
}

void TGLNodes::Update(TCollectionItem* item)
{
    TOwnedCollection::Update(item);
    NotifyChange();
}

void TGLNodes::EndUpdate()
{
    TOwnedCollection::EndUpdate();
    if (UpdateCount() == 0) {
        NotifyChange();
    }
}

TAffineVector TGLNodes::PolygonNormal() const
{
    if (Count() < 3) {
        return {0, 0, 0};
    }
    const TAffineVector p0 = Items(0)->GetAsAffineVector();
    const TAffineVector a = SubtractAffineVectors(Items(1)->GetAsAffineVector(), p0);
    const TAffineVector b = SubtractAffineVectors(Items(2)->GetAsAffineVector(), p0);
    return NormalizedAffineVector(AffineCrossProduct(a, b));
}

std::unique_ptr<TCubicSpline> TGLNodes::MakeSpline() const
{
    const int n = Count();
    std::vector<float> x(static_cast<std::size_t>(n)), y(x.size()), z(x.size());
    for (int i = 0; i < n; ++i) {
        const TVector& v = Items(i)->AsVector();
        x[static_cast<std::size_t>(i)] = v.X;
        y[static_cast<std::size_t>(i)] = v.Y;
        z[static_cast<std::size_t>(i)] = v.Z;
    }
    return std::make_unique<TCubicSpline>(x.data(), y.data(), z.data(), nullptr, n);
}

// ---- TNotifyCollection ----

TNotifyCollection::TNotifyCollection(TPersistent* owner, TCollectionItemClass itemClass)
    : TOwnedCollection(owner, std::move(itemClass))
{
    if (auto* component = ObjectCast<TGLUpdateAbleComponent>(owner)) {
        OnNotifyChange = MakeDelegate<&TGLUpdateAbleComponent::NotifyChange>(component);
    }
}

void TNotifyCollection::Update(TCollectionItem* item)
{
    TOwnedCollection::Update(item);
    if (OnNotifyChange) {
        OnNotifyChange(this);
    }
}

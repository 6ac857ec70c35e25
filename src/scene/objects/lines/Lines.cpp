// Line objects: properties, node colours and node lists. The drawing is in
// LinesRender.cpp.

#include "scene/objects/lines/Lines.h"

#include "platform/core/Assert.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {
#if defined(__SANITIZE_ADDRESS__)
constexpr bool PoolSlots = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool PoolSlots = false;
#else
constexpr bool PoolSlots = true;
#endif
#else
constexpr bool PoolSlots = true;
#endif

// Slots of one size in blocks, for objects made by the hundred thousand (nodes,
// polylines): no allocation header each, and all blocks go back once the last slot is
// freed. Single-threaded, like the rest of the scene. Under AddressSanitizer every slot
// is an allocation of its own, so that misuse is still caught.
template <std::size_t Size>
class TSlotPool {
public:
    static constexpr std::size_t SlotSize = (Size + 7) / 8 * 8;
    static constexpr std::size_t BlockSlots = 4096;

    // Never destroyed: an object that outlives main() may still give its slot back.
    static TSlotPool& Instance()
    {
        static auto* pool = new TSlotPool;
        return *pool;
    }

    void* Allocate()
    {
        if constexpr (!PoolSlots) {
            return ::operator new(Size);
        }
        ++live_;
        if (free_ != nullptr) {
            void* p = free_;
            free_ = *static_cast<void**>(p);
            return p;
        }
        if (blocks_.empty() || used_ == BlockSlots) {
            blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(SlotSize * BlockSlots));
            used_ = 0;
        }
        return blocks_.back().get() + SlotSize * used_++;
    }
    void Release(void* p)
    {
        if constexpr (!PoolSlots) {
            ::operator delete(p);
            return;
        }
        *static_cast<void**>(p) = free_;
        free_ = p;
        if (--live_ == 0) {
            blocks_.clear();
            free_ = nullptr;
            used_ = 0;
        }
    }

private:
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
    void* free_ = nullptr;
    std::size_t used_ = 0;
    std::size_t live_ = 0;
};

template <class T>
void* AllocateSlot(std::size_t size)
{
    return size == sizeof(T) ? TSlotPool<sizeof(T)>::Instance().Allocate() : ::operator new(size);
}

template <class T>
void ReleaseSlot(void* p, std::size_t size)
{
    if (size == sizeof(T)) {
        TSlotPool<sizeof(T)>::Instance().Release(p);
    } else {
        ::operator delete(p);
    }
}

bool BitEqual(const TVector& a, const TVector& b)
{
    return std::memcmp(&a, &b, sizeof(TVector)) == 0;
}
} // namespace

// ---- TLineParts ----

struct TLineParts::TNodeColor {
    explicit TNodeColor(TGLNodedLines* owner)
        : Color(owner, ColorBlue, MakeDelegate<&TGLNodedLines::OnNodeColorChanged>(owner))
    {
    }
    TGLColor Color;
    // The node colour as it was last announced.
    TVector Previous = ColorBlue;
};

TLineParts::TLineParts() = default;
TLineParts::~TLineParts() = default;

// ---- TGLLineBase ----

TGLLineBase::TGLLineBase(TComponent* owner) : TGLImmaterialSceneObject(owner) {}

TGLLineBase::~TGLLineBase() = default;

TLineParts& TGLLineBase::Parts() const
{
    if (!parts_) {
        parts_ = std::make_unique<TLineParts>();
    }
    return *parts_;
}

TGLColor& TGLLineBase::LineColor() const
{
    std::unique_ptr<TGLColor>& color = Parts().LineColor;
    if (!color) {
        color = std::make_unique<TGLColor>(const_cast<TGLLineBase*>(this), lineColorValue_);
    }
    return *color;
}

void TGLLineBase::SetLineColor(const TGLColor& value)
{
    SetLineColor(value.Color());
}

void TGLLineBase::SetLineColor(const TVector& value)
{
    if (parts_ && parts_->LineColor) {
        parts_->LineColor->Initialize(value);
    } else {
        lineColorValue_ = value;
    }
    StructureChanged();
}

void TGLLineBase::SetLinePattern(std::uint16_t value)
{
    if (linePattern_ != value) {
        linePattern_ = value;
        StructureChanged();
    }
}

void TGLLineBase::SetLineWidth(float value)
{
    if (lineWidth_ != value) {
        lineWidth_ = value;
        StructureChanged();
    }
}

void TGLLineBase::SetAntiAliased(bool value)
{
    if (antiAliased_ != value) {
        antiAliased_ = value;
        StructureChanged();
    }
}

void TGLLineBase::Assign(const TPersistent* source)
{
    if (const auto* line = ObjectCast<TGLLineBase>(source)) {
        SetLineColor(line->LineColorVector());
        SetLinePattern(line->linePattern_);
        SetLineWidth(line->lineWidth_);
        SetAntiAliased(line->antiAliased_);
    } else {
        TGLImmaterialSceneObject::Assign(source);
    }
}

// ---- TGLLinesNode ----

TGLLinesNode::TGLLinesNode(TCollection* collection) : TGLNode(collection)
{
    if (auto* nodes = ObjectCast<TGLLinesNodes>(collection)) {
        colorIndex_ = nodes->DefaultColorIndex();
    }
}

void* TGLLinesNode::operator new(std::size_t size)
{
    return AllocateSlot<TGLLinesNode>(size);
}

void TGLLinesNode::operator delete(void* p, std::size_t size)
{
    ReleaseSlot<TGLLinesNode>(p, size);
}

const TVector& TGLLinesNode::Color() const
{
    if (auto* nodes = ObjectCast<TGLLinesNodes>(Collection())) {
        return nodes->PaletteColor(colorIndex_);
    }
    return ColorBlue;
}

void TGLLinesNode::SetColor(const TVector& value)
{
    auto* nodes = ObjectCast<TGLLinesNodes>(Collection());
    KP_ASSERT(nodes != nullptr);
    colorIndex_ = nodes->ColorIndex(value);
    nodes->NotifyChange();
}

bool TGLLinesNode::StoreColor() const
{
    auto* nodes = ObjectCast<TGLLinesNodes>(Collection());
    return nodes == nullptr || colorIndex_ != nodes->DefaultColorIndex();
}

void TGLLinesNode::Assign(const TPersistent* source)
{
    if (const auto* node = ObjectCast<TGLLinesNode>(source)) {
        if (auto* nodes = ObjectCast<TGLLinesNodes>(Collection())) {
            colorIndex_ = nodes->ColorIndex(node->Color());
        }
    }
    TGLNode::Assign(source);
}

// ---- TGLLinesNodes ----

TGLLinesNodes::TGLLinesNodes(TComponent* owner) : TGLNodes(owner, CollectionItemClassOf<TGLLinesNode>())
{
    palette_.push_back(ColorBlue);
}

void TGLLinesNodes::NotifyChange()
{
    if (UpdateCount() != 0 || filling_) {
        return;
    }
    if (auto* owner = ObjectCast<TGLUpdateAbleComponent>(GetOwner())) {
        owner->StructureChanged();
    }
}

std::uint32_t TGLLinesNodes::ColorIndex(const TVector& color)
{
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        if (BitEqual(palette_[i], color)) {
            return static_cast<std::uint32_t>(i);
        }
    }
    palette_.push_back(color);
    return static_cast<std::uint32_t>(palette_.size() - 1);
}

// ---- TGLNodedLines ----

TGLNodedLines::TGLNodedLines(TComponent* owner) : TGLLineBase(owner) {}

TGLNodedLines::~TGLNodedLines() = default;

TGLLinesNodes& TGLNodedLines::Nodes() const
{
    std::unique_ptr<TGLLinesNodes>& collection = Parts().Nodes;
    if (!collection) {
        auto nodes = std::make_unique<TGLLinesNodes>(const_cast<TGLNodedLines*>(this));
        nodes->SetDefaultColor(PreviousNodeColor());
        nodes->filling_ = true;
        for (std::uint32_t i = 0; i < points_.Count(); ++i) {
            const TAffineVector& p = points_[i];
            *nodes->Add()->VectorPointer() = TVector{p.X, p.Y, p.Z, 0};
        }
        nodes->filling_ = false;
        collection = std::move(nodes);
        const_cast<TLinePoints&>(points_).Clear();
    }
    return *collection;
}

TGLColor& TGLNodedLines::NodeColor() const
{
    std::unique_ptr<TLineParts::TNodeColor>& color = Parts().NodeColor;
    if (!color) {
        color = std::make_unique<TLineParts::TNodeColor>(const_cast<TGLNodedLines*>(this));
    }
    return color->Color;
}

const TVector& TGLNodedLines::PreviousNodeColor() const
{
    const TLineParts* parts = PartsIfAny();
    return parts && parts->NodeColor ? parts->NodeColor->Previous : ColorBlue;
}

TVector TGLNodedLines::NodeVector(int index) const
{
    if (const TGLLinesNodes* nodes = Collection()) {
        return nodes->Items(index)->AsVector();
    }
    const TAffineVector& p = points_[static_cast<std::uint32_t>(index)];
    return {p.X, p.Y, p.Z, 0};
}

const TVector& TGLNodedLines::NodeColorOf(int index) const
{
    const TGLLinesNodes* nodes = Collection();
    return nodes ? nodes->Items(index)->Color() : PreviousNodeColor();
}

void TGLNodedLines::SetNodes(const TGLLinesNodes& value)
{
    Nodes().Assign(&value);
    StructureChanged();
}

void TGLNodedLines::SetNodesAspect(TLineNodesAspect value)
{
    if (nodesAspect_ != value) {
        nodesAspect_ = value;
        StructureChanged();
    }
}

void TGLNodedLines::SetNodeColor(const TGLColor& value)
{
    NodeColor().SetColor(value.Color());
    StructureChanged();
}

void TGLNodedLines::SetNodeSize(float value)
{
    nodeSize_ = value <= 0 ? 1.0f : value;
    StructureChanged();
}

void TGLNodedLines::OnNodeColorChanged(TObject*)
{
    TLineParts::TNodeColor& nodeColor = *PartsIfAny()->NodeColor;
    const TVector color = nodeColor.Color.Color();
    if (TGLLinesNodes* nodes = Collection()) {
        const std::uint32_t oldIndex = nodes->ColorIndex(nodeColor.Previous);
        const std::uint32_t newIndex = nodes->ColorIndex(color);
        for (int i = 0; i < nodes->Count(); ++i) {
            TGLLinesNode* node = nodes->Items(i);
            if (node->colorIndex_ == oldIndex) {
                node->colorIndex_ = newIndex;
            }
        }
        nodes->SetDefaultColor(color);
    }
    // Bare points all carry the previous colour, so they follow it as a whole.
    nodeColor.Previous = color;
}

void TGLNodedLines::AddNode(float x, float y, float z)
{
    if (TGLLinesNodes* nodes = Collection()) {
        // The add notifies already (the rebuild is lazy), so the coordinates are
        // written without a second notification.
        auto* node = new TGLLinesNode(nodes); // appends itself and notifies
        *node->VectorPointer() = TVector{x, y, z, 0};
        return;
    }
    points_.Push(TAffineVector{x, y, z});
    StructureChanged();
}

std::size_t TGLNodedLines::NodeBytes() const
{
    const TGLLinesNodes* nodes = Collection();
    return nodes ? static_cast<std::size_t>(nodes->Count()) * NodeObjectBytes : points_.HeapBytes();
}

void TGLNodedLines::DeleteLastNode()
{
    if (TGLLinesNodes* nodes = Collection()) {
        if (nodes->Count() > 0) {
            nodes->Delete(nodes->Count() - 1);
        }
    } else if (points_.Count() > 0) {
        points_.PopBack();
        StructureChanged();
    }
}

void TGLNodedLines::Assign(const TPersistent* source)
{
    if (const auto* lines = ObjectCast<TGLNodedLines>(source)) {
        const TLineParts* sourceParts = lines->PartsIfAny();
        const TLineParts::TNodeColor* sourceColor = sourceParts ? sourceParts->NodeColor.get() : nullptr;
        const TVector nodeColor = sourceColor ? sourceColor->Color.Color() : ColorBlue;
        // The copied nodes keep the source's node colour and then follow the node colour
        // set below; bare points can say so when that leaves them all of one colour.
        const TVector& copiedColor = lines->PreviousNodeColor();
        if (!lines->Collection() && !Collection() &&
            (BitEqual(copiedColor, PreviousNodeColor()) || BitEqual(copiedColor, nodeColor))) {
            points_.Assign(lines->points_);
            StructureChanged();
        } else {
            SetNodes(lines->Nodes());
        }
        nodesAspect_ = lines->nodesAspect_;
        nodeSize_ = lines->nodeSize_;
        NodeColor().SetColor(nodeColor);
        StructureChanged();
    }
    TGLLineBase::Assign(source);
}

TVector TGLNodedLines::UnscaledHalfExtents() const
{
    TVector result{0, 0, 0, 0};
    const int count = NodeCount();
    for (int i = 0; i < count; ++i) {
        const TVector v = NodeVector(i);
        for (int k = 0; k < 4; ++k) {
            result[k] = std::max(result[k], std::fabs(v[k]));
        }
    }
    return result;
}

// ---- TGLLines ----

TGLLines::TGLLines(TComponent* owner) : TGLNodedLines(owner) {}

TGLLines::~TGLLines() = default;

void* TGLLines::operator new(std::size_t size)
{
    return AllocateSlot<TGLLines>(size);
}

void TGLLines::operator delete(void* p, std::size_t size)
{
    ReleaseSlot<TGLLines>(p, size);
}

std::size_t TGLLines::MemoryBytes() const
{
    std::size_t bytes = TSlotPool<sizeof(TGLLines)>::SlotSize + NodeBytes();
    if (const TLineParts* parts = PartsIfAny()) {
        // The parts themselves; their objects are rare and counted roughly by their size.
        bytes += sizeof(TLineParts) + (parts->LineColor ? sizeof(TGLColor) : 0) +
                 (parts->NodeColor ? sizeof(TLineParts::TNodeColor) : 0) + (parts->Nodes ? sizeof(TGLLinesNodes) : 0);
    }
    return bytes;
}

TSingleList& TGLLines::NURBSKnots() const
{
    std::unique_ptr<TSingleList>& knots = Parts().Knots;
    if (!knots) {
        knots = std::make_unique<TSingleList>();
    }
    return *knots;
}

void TGLLines::SetDivision(int value)
{
    if (division_ != value) {
        division_ = std::max(value, 1);
        StructureChanged();
    }
}

void TGLLines::SetSplineMode(TLineSplineMode value)
{
    if (splineMode_ != value) {
        splineMode_ = value;
        StructureChanged();
    }
}

void TGLLines::SetOptions(TLinesOptions value)
{
    options_ = value;
    StructureChanged();
}

void TGLLines::Assign(const TPersistent* source)
{
    if (const auto* lines = ObjectCast<TGLLines>(source)) {
        division_ = lines->division_;
        splineMode_ = lines->splineMode_;
        options_ = lines->options_;
    }
    TGLNodedLines::Assign(source);
}

#include "scene/objects/shapes/PolygonBase.h"

#include <algorithm>

TGLPolygonBase::TGLPolygonBase(TComponent* owner) : TGLWorldObject(owner), nodes_(CreateNodes()) {}

TGLPolygonBase::~TGLPolygonBase() = default;

std::unique_ptr<TGLNodes> TGLPolygonBase::CreateNodes()
{
    return std::make_unique<TGLNodes>(this);
}

void TGLPolygonBase::SetNodes(const TGLNodes& value)
{
    nodes_->Assign(&value);
    StructureChanged();
}

void TGLPolygonBase::SetDivision(int value)
{
    if (value != division_) {
        division_ = std::max(value, 1);
        StructureChanged();
    }
}

void TGLPolygonBase::SetSplineMode(TLineSplineMode value)
{
    if (value != splineMode_) {
        splineMode_ = value;
        StructureChanged();
    }
}

void TGLPolygonBase::Assign(const TPersistent* source)
{
    if (const auto* polygon = ObjectCast<TGLPolygonBase>(source)) {
        SetNodes(*polygon->nodes_);
        division_ = polygon->division_;
        splineMode_ = polygon->splineMode_;
    }
    TGLWorldObject::Assign(source);
}

void TGLPolygonBase::NotifyChange(TObject* sender)
{
    if (nodes_ && sender == nodes_.get()) {
        StructureChanged();
    }
    TGLWorldObject::NotifyChange(sender);
}

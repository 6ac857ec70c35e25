#include "scene/objects/shapes/Contours.h"

#include <algorithm>

void TGLContourNodes::NotifyChange()
{
    if (UpdateCount() != 0) {
        return;
    }
    if (auto* contour = ObjectCast<TGLContour>(GetOwner())) {
        contour->ReportChange();
    }
}

TGLContour::TGLContour(TCollection* collection)
    : TCollectionItem(collection), nodes_(std::make_unique<TGLContourNodes>(this))
{
}

TGLContour::~TGLContour() = default;

void TGLContour::SetNodes(const TGLNodes& value)
{
    nodes_->Assign(&value);
    ReportChange();
}

void TGLContour::SetDivision(int value)
{
    value = std::max(value, 1);
    if (value != division_) {
        division_ = value;
        ReportChange();
    }
}

void TGLContour::SetSplineMode(TLineSplineMode value)
{
    if (value != splineMode_) {
        splineMode_ = value;
        ReportChange();
    }
}

void TGLContour::Assign(const TPersistent* source)
{
    if (const auto* contour = ObjectCast<TGLContour>(source)) {
        nodes_->Assign(contour->nodes_.get());
        division_ = contour->division_;
        splineMode_ = contour->splineMode_;
        description_ = contour->description_;
    } else {
        TCollectionItem::Assign(source);
    }
}

std::string TGLContour::GetDisplayName() const
{
    if (!description_.empty()) {
        return description_;
    }
    return "GLContour: " + std::to_string(nodes_->Count()) + " nodes";
}

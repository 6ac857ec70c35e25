#pragma once
// Owners that record the notifications they receive, for the change-notification tests.

#include "scene/graph/Coordinates.h"

#include <vector>

class TRecordingComponent : public TGLUpdateAbleComponent {
    KP_CLASS(TRecordingComponent, TGLUpdateAbleComponent)
public:
    using TGLUpdateAbleComponent::TGLUpdateAbleComponent;
    std::vector<TObject*> changes;
    int structureChanges = 0;
    void NotifyChange(TObject* sender) override
    {
        changes.push_back(sender);
        TGLUpdateAbleComponent::NotifyChange(sender);
    }
    void StructureChanged() override { ++structureChanges; }
};

class TRecordingCoordinateOwner : public TGLCoordinatesUpdateAbleComponent {
    KP_CLASS(TRecordingCoordinateOwner, TGLCoordinatesUpdateAbleComponent)
public:
    using TGLCoordinatesUpdateAbleComponent::TGLCoordinatesUpdateAbleComponent;
    std::vector<TGLCoordinates*> coordinateChanges;
    std::vector<TObject*> changes;
    void CoordinateChanged(TGLCoordinates* sender) override { coordinateChanges.push_back(sender); }
    void NotifyChange(TObject* sender) override { changes.push_back(sender); }
};

// Counts OnNotifyChange calls and remembers the last sender.
struct TEventCounter {
    int calls = 0;
    TObject* lastSender = nullptr;
    void Handle(TObject* sender)
    {
        ++calls;
        lastSender = sender;
    }
};

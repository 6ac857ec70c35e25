#pragma once
// Counts the changes made under a few objects of a scene (by the object itself or any
// object below it), for a picture that holds what was drawn before such an object: that
// part stays right while the scene's other changes stay the same (TGLWorld::ChangesUnder).
// An object may also hear which of its children a change came from, so that it need
// not look at all of them to find the one that changed.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TGLBaseSceneObject;

class TGLSubtreeChanges {
public:
    // Told the child of the watched object under which (or by which) a change was made.
    using TChildChanged = std::function<void(const TGLBaseSceneObject& child)>;

    TGLSubtreeChanges();
    ~TGLSubtreeChanges();
    TGLSubtreeChanges(const TGLSubtreeChanges&) = delete;
    TGLSubtreeChanges& operator=(const TGLSubtreeChanges&) = delete;

    // The changes counted under `object` so far; the first call starts the count at 0.
    // A freed object is forgotten.
    std::uint64_t Count(const TGLBaseSceneObject& object);
    // From now on `onChildChanged` hears of the changes made under the object's
    // children (the object's own are only counted); it replaces an earlier one.
    void WatchChildren(const TGLBaseSceneObject& object, TChildChanged onChildChanged);
    bool WatchesChildren(const TGLBaseSceneObject& object) const;
    // A change that `sender` made: counted for every object it lies under.
    void Changed(const TGLBaseSceneObject& sender);
    bool Empty() const { return entries_.empty(); }

private:
    class TWatch;
    struct TEntry {
        const TGLBaseSceneObject* Object;
        std::uint64_t Changes;
        TChildChanged OnChildChanged;
    };
    TEntry& EntryOf(const TGLBaseSceneObject& object);
    std::vector<TEntry> entries_;
    std::unique_ptr<TWatch> watch_;
};

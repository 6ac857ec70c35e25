#pragma once
// The clamps a program declares with "[CLAMP] name, x, y, z, width, height, depth":
// magenta wire-frame boxes under the clamps parent, each with a collision behaviour in
// cube mode, so the bit's collision check can warn about them. The shell frees them
// at the start of every run.

#include "engine/ParsedLine.h"
#include "platform/core/objects/Component.h"

#include <string>
#include <vector>

class TGLBaseSceneObject;
class TGLCube;
class TCollisionManager;

struct TClampRec {
    TGLCube* Cube = nullptr;
    // Set when the user chose not to be warned about this clamp again.
    bool WarningSuppressed = false;
};

// A component only to hear when a box is freed by someone else (its parent, say), so
// no record ever points at a freed box.
class TClampList : public TComponent {
    KP_CLASS(TClampList, TComponent)
public:
    TClampList() = default;
    // Boxes in a scene are the scene's; only boxes made without a parent are freed here.
    ~TClampList() override;

    // All six numbers are converted before anything is made: a field that is missing,
    // no number or beyond single precision raises EConvertError naming the field
    // ("The [CLAMP] line's x \"a\" is not a number") and leaves no box. A trailing
    // comment is cut first.
    // The box goes under `parent` (may be nullptr) and registers with `manager` (may be
    // nullptr). The numbers are scene coordinates.
    TClampRec& Add(const TArrayofCmds& cmds, TGLBaseSceneObject* parent, TCollisionManager* manager);
    // Frees every box and empties the list.
    void Free();
    // Frees the boxes from `count` on, the last first: a step back over the lines that
    // made them.
    void Truncate(int count);

    int Count() const { return static_cast<int>(FItems.size()); }
    // What one box holds with its material and collision behaviour, as measured (1,525
    // bytes in a release build): the preview's memory counts it per box.
    static constexpr std::size_t BytesPerClamp = 1536;
    TClampRec& operator[](int index) { return FItems[static_cast<std::size_t>(index)]; }
    const std::vector<TClampRec>& Items() const { return FItems; }
    // The first clamp whose box has this hint; nullptr when none.
    TClampRec* FindByHint(const std::string& hint);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TClampRec> FItems;
};

#pragma once
// The callback slots through which the engine's shared data reaches the motion
// simulator and the shell. Empty until installed; every caller checks first.

#include "scene/base/VectorTypes.h"

#include <functional>
#include <string>

using TGetPositionEvent = std::function<void(TVector& pos)>;
using TGetABEvent = std::function<void(float& a, float& b)>;
using TRunFileEvent = std::function<void(const std::string& fileName)>;
using TGetHeadingEvent = std::function<double()>;
using TAddNodeEvent = std::function<void(bool setCurPos, bool newLine, float x, float y, float z)>;

// The engine's own motion simulator answers the position, heading and node slots
// through this interface: one direct call per node where a function object would cost
// two. A handler set on a slot takes that slot over.
class IMotionSlots {
public:
    virtual void SlotPosition(TVector& pos) = 0;
    virtual void SlotAB(float& a, float& b) = 0;
    virtual double SlotLastHeading() = 0;
    virtual void SlotAddMoveNode(bool setCurPos, bool newLine, float x, float y, float z) = 0;
    virtual void SlotAddJogNode(bool setCurPos, bool newLine, float x, float y, float z) = 0;

protected:
    ~IMotionSlots() = default;
};

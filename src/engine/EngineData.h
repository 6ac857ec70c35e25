#pragma once
// The engine's part of the data module: the system variables, the keyword table, the
// callback slots and the readers that turn argument texts into numbers. The shell's
// data module owns one of these; the engine reaches the motion simulator and the
// shell's run loop only through the slots.

#include "engine/EngineEvents.h"
#include "engine/ParsedLine.h"
#include "engine/SystemVars.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TEngineData {
public:
    TEngineData();

    TSystemVarArray SysVars;

    // 1-based, 140 entries, copied from CommandKeywords.
    const std::string& Keyword(int i) const { return FKeywords[static_cast<std::size_t>(i - 1)]; }
    const std::string& ClampKeyword() const { return FClampKeyword; }

    // Slots.
    void SetOnGetPosition(TGetPositionEvent handler) { FOnGetPosition = std::move(handler); }
    void SetOnGetAB(TGetABEvent handler) { FOnGetAB = std::move(handler); }
    void SetOnRunFile(TRunFileEvent handler) { FOnRunFile = std::move(handler); }
    void SetOnGetLastHeading(TGetHeadingEvent handler) { FOnGetLastHeading = std::move(handler); }
    void SetOnAddMoveNode(TAddNodeEvent handler) { FOnAddMoveNode = std::move(handler); }
    void SetOnAddJogNode(TAddNodeEvent handler) { FOnAddJogNode = std::move(handler); }
    // The simulator behind the position, heading and node slots that have no handler
    // of their own (nullptr: none); the simulator installs and removes itself.
    void SetMotionSlots(IMotionSlots* motion) { FMotion = motion; }
    IMotionSlots* MotionSlots() const { return FMotion; }
    // True while `motion` answers the position slots (no handler set on them).
    bool PositionFrom(const IMotionSlots* motion) const
    {
        return FMotion == motion && !FOnGetPosition && !FOnGetAB;
    }

    // Checked calls: the position and heading read 0 while no simulator is installed,
    // node additions are dropped, and running a file without a runner is a run error.
    TVector GetPosition() const;
    void GetAB(float& a, float& b) const;
    double GetLastHeading() const;
    void AddMoveNode(bool setCurPos, bool newLine, float x, float y, float z) const;
    void AddJogNode(bool setCurPos, bool newLine, float x, float y, float z) const;
    void RunFile(const std::string& fileName) const;
    bool HasRunFile() const { return static_cast<bool>(FOnRunFile); }

    // System variables; n may be any integer, the table is read only inside -100..109.
    // Programs write them through these setters, which tell the observer (the
    // simulator's step-back record; nullptr: none).
    void SetSysVarInt(int n, std::int32_t value);
    void SetSysVarFloat(int n, float value);
    void SetSysVarStr(int n, const std::string& value);
    void SetSysVarChanges(ISystemVarChanges* observer) { FSysVarChanges = observer; }
    std::int32_t GetSysVarInt(int n) const { return SysVars.GetInt(n); }
    float GetSysVarFloat(int n) const;
    std::string GetSysVarStr(int n) const { return SysVars.GetStr(n); }
    // The text that replaces "%(n)" in a program line; empty for an untyped index.
    std::string GetSysVarText(int n) const;

    // Readers of one argument text, which never raise: ParamToInt gives the whole
    // text's integer, or the fallback for a text that holds none (a fraction, a word, a
    // numeral no int holds); ParamToStr the text unless it is blank. Commands read
    // through the readers of elements below.
    static int ParamToInt(std::string_view text, int fallback);
    static std::string ParamToStr(std::string_view text, const std::string& fallback);

    // Readers of element i of a parsed line; raise EArgumentFailed when that element's
    // expression failed to evaluate. ParamToFloat raises ENumberRange for a numeral a
    // single cannot hold (1e39, 1e400), which it would otherwise take for an omitted one.
    static int ParamToInt(const TArrayofCmds& cmds, int i, int fallback);
    static float ParamToFloat(const TArrayofCmds& cmds, int i, float fallback);
    static std::string ParamToStr(const TArrayofCmds& cmds, int i, const std::string& fallback);

    // The target coordinate that argument i - 1 of a move or jog line asks for (i = 2
    // is the first argument); relative or absolute as %(21) says. A numeral a single
    // cannot hold raises ENumberRange; a relative target past the range comes back
    // infinite, for the caller to refuse.
    float GetMoveParam(const TArrayofCmds& cmds, int i) const;
    // The same for an argument text whose axis stands at `current` (the simulator
    // reads its own position without going through the slots).
    float MoveParamValue(std::string_view text, float current) const;
    // Raises EArgumentFailed when element i's expression failed to evaluate. Every
    // argument a command reads passes here, so the test is inline.
    static void CheckEvaluated(const TArrayofCmds& cmds, int i)
    {
        if (cmds.Failed(i)) {
            ThrowArgumentFailed(cmds, i);
        }
    }

    // "x,y,z" with five decimals each, "." as the decimal point, no thousands separator.
    static std::string PointToText(float x, float y, float z);

    // The shortest text that reads back as the same single: 0.05f gives "0.05".
    static std::string SingleToStr(float value);

private:
    [[noreturn]] static void ThrowArgumentFailed(const TArrayofCmds& cmds, int i);

    std::array<std::string, 140> FKeywords;
    std::string FClampKeyword;

    TGetPositionEvent FOnGetPosition;
    TGetABEvent FOnGetAB;
    TRunFileEvent FOnRunFile;
    TGetHeadingEvent FOnGetLastHeading;
    TAddNodeEvent FOnAddMoveNode;
    TAddNodeEvent FOnAddJogNode;
    IMotionSlots* FMotion = nullptr;
    ISystemVarChanges* FSysVarChanges = nullptr;
};

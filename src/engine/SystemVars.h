#pragma once
// The system variables %(n) of the part-program language: 210 typed records indexed
// -100 to 109. An entry that no setter has written reads as its built-in default;
// once written, every getter returns its own field (a field never written reads 0).

#include <array>
#include <cstdint>
#include <string>
#include <utility>

struct TSystemVar {
    bool IsSet = false;
    std::int32_t IntValue = 0;
    float FloatValue = 0.0f;
    std::string StrValue;
};

// The field of a record that a setter writes.
enum class TSysVarField : unsigned char { Int, Float, Str };

// Told by the data module of each change of a system variable before it is made: the
// record as it stands and the field about to change (writing the value a set record
// already holds is no change).
class ISystemVarChanges {
public:
    virtual void SysVarChanging(int n, TSysVarField field, const TSystemVar& before) = 0;

protected:
    ~ISystemVarChanges() = default;
};

// The type under which "%(n)" is substituted into a program line.
enum class TSysVarTextType { None, Integer, Float, String };

class TSystemVarArray {
public:
    static constexpr int Low = -100;
    static constexpr int High = 109;

    static bool InRange(int n) { return n >= Low && n <= High; }

    // Entries outside -100..109 are never stored; their getters give the defaults.
    void SetInt(int n, std::int32_t value);
    void SetFloat(int n, float value);
    void SetStr(int n, const std::string& value);

    bool IsSet(int n) const { return InRange(n) && FVars[Slot(n)].IsSet; }
    const TSystemVar& Entry(int n) const { return FVars[Slot(n)]; }
    // Puts a whole record back, as a step back does (n within -100..109).
    void Put(int n, TSystemVar entry) { FVars[Slot(n)] = std::move(entry); }

    // Stored value when set, else the built-in default (entries 1 to 5 are live and
    // resolved by the data module, not here).
    std::int32_t GetInt(int n) const { return IsSet(n) ? FVars[Slot(n)].IntValue : DefaultInt(n); }
    float GetFloat(int n) const;
    std::string GetStr(int n) const;

    static std::int32_t DefaultInt(int n);
    static float DefaultFloat(int n);
    static std::string DefaultStr(int n);
    static TSysVarTextType TextType(int n);
    // Entries 1 to 5: X, Y, Z, A, B of the simulated tool while unset.
    static bool IsLivePosition(int n) { return n >= 1 && n <= 5; }

private:
    static std::size_t Slot(int n) { return static_cast<std::size_t>(n - Low); }
    std::array<TSystemVar, High - Low + 1> FVars{};
};

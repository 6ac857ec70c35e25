// libFuzzer target: any text as a formula must calculate or fail cleanly, and a
// failed calculation must leave the caller's result as it was.

#include "engine/calcul/Calcul.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TCalcul calc;
    calc.SetVariablesText("X=1.5\r\nS=\"ab,c\"\r\nE=\"eval(E)\"\r\nF=\"2*X\"\r\n@@D=[X+1]\r\n");
    calc.Formula.assign(reinterpret_cast<const char*>(data), size);
    std::string result = "sentinel";
    const bool ok = calc.Calculate(result);
    if (ok == calc.Error() || (!ok && result != "sentinel") || (!ok && calc.ErrorText().empty())) {
        std::abort();
    }
    return 0;
}

#pragma once
// Errors that end a run. The run loop does not catch them; the shell shows their
// message in an error box.

#include "platform/core/Exceptions.h"

#include <string>
#include <string_view>

class ERunError : public Exception {
    using Exception::Exception;
};

// A value of a line beyond the range it may take: the line stops the run and nothing
// of it applies (the dispatcher takes back what the line had begun).
class EValueRange : public ERunError {
    using ERunError::ERunError;
};

// A move, jog or shape whose target single precision cannot hold (beyond about
// 3.4E38): the line stops the run and leaves the position and the path as they were.
class ECoordinateRange : public EValueRange {
    using EValueRange::EValueRange;
};

// An argument's numeral beyond the range of its reader (1e400; 1e39 where the reader
// takes a single). The dispatcher stops the run with an EValueRange that names the
// command, the argument and what the argument holds (a target, a speed, a scale).
class ENumberRange : public Exception {
public:
    explicit ENumberRange(std::string_view text)
        : Exception("The number \"" + std::string(text) + "\" is beyond the range")
    {
    }
    // The argument's place on its line, 1 the first after the command word, as the
    // reader of the line's element sets it (ReadArgument); 0 for the axes of a move or
    // jog, which are targets whatever their place.
    int Argument() const { return FArgument; }
    void SetArgument(int argument) { FArgument = argument; }

private:
    int FArgument = 0;
};

// A command read an argument whose expression failed to evaluate. Carries the
// expression and the evaluator's message; the dispatcher adds the line number.
class EArgumentFailed : public Exception {
public:
    EArgumentFailed(std::string expression, std::string reason)
        : Exception("Cannot evaluate \"" + expression + "\""), FExpression(std::move(expression)),
          FReason(std::move(reason))
    {
    }
    const std::string& Expression() const { return FExpression; }
    const std::string& Reason() const { return FReason; }

private:
    std::string FExpression;
    std::string FReason;
};

#pragma once
// The exception hierarchy shared by every layer. Library errors derive from Exception
// and carry a ready-to-show message; the shell catches them at the event-loop edge.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not a valid number, or an object that cannot be assigned to another.
class EConvertError : public Exception {
    using Exception::Exception;
};

// An index out of range or another misuse of a list.
class EListError : public Exception {
    using Exception::Exception;
};

// A class name that the class registry does not know.
class EClassNotFound : public Exception {
    using Exception::Exception;
};

// A failed precondition. The message ends with the source unit and line.
class EAssertionFailed : public Exception {
    using Exception::Exception;
};

// Reading or writing a stream failed (end of data, bad format, closed file).
class EStreamError : public Exception {
    using Exception::Exception;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};

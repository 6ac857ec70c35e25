#pragma once
// Failures reported by the operating system, with its own description of the error.

#include "platform/core/Exceptions.h"

class EOSError : public Exception {
public:
    EOSError(const std::string& message, int errorCode) : Exception(message), FErrorCode(errorCode) {}
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

// "OS Error : " and the system's text for the error number (errno when omitted).
[[noreturn]] void RaiseOSError();
[[noreturn]] void RaiseOSError(int errorCode);

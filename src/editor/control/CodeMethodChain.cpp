#include "editor/control/CodeMethodChain.h"

#include <algorithm>

void TCodeMethodChain::Add(const TMethod& method)
{
    if (!method) {
        throw ECodeMethodChain(ClassName() + ".Entry : the parameter `AEvent' must be specified.");
    }
    entries_.push_back(method);
}

void TCodeMethodChain::Remove(const TMethod& method)
{
    if (!method) {
        throw ECodeMethodChain(ClassName() + ".Remove: the parameter `AEvent' must be specified.");
    }
    for (std::size_t i = entries_.size(); i-- > 0;) {
        if (entries_[i] == method) {
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
            // A method that removes itself (or an earlier one) while firing must not make
            // the loop skip the method after it.
            for (std::size_t* cursor : cursors_) {
                if (i < *cursor) {
                    --*cursor;
                }
            }
        }
    }
}

namespace {
class CursorScope {
public:
    CursorScope(std::vector<std::size_t*>& cursors, std::size_t* cursor) : cursors_(cursors)
    {
        cursors_.push_back(cursor);
    }
    ~CursorScope() { cursors_.pop_back(); }
    CursorScope(const CursorScope&) = delete;
    CursorScope& operator=(const CursorScope&) = delete;

private:
    std::vector<std::size_t*>& cursors_;
};
} // namespace

void TCodeMethodChain::Fire()
{
    std::size_t i = 0;
    CursorScope scope(cursors_, &i);
    while (i < entries_.size()) {
        const TMethod method = entries_[i];
        ++i;
        try {
            CallEntry(method);
        } catch (const std::exception& error) {
            if (!DoHandleException(error)) {
                return;
            }
        }
    }
}

bool TCodeMethodChain::DoHandleException(const std::exception& error)
{
    if (!ExceptionHandler) {
        throw; // called from Fire's handler: the method's own exception goes on
    }
    bool doContinue = true;
    try {
        ExceptionHandler(this, error, doContinue);
    } catch (...) {
        throw ECodeMethodChain(ClassName() +
                               ".DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
    }
    return doContinue;
}

void TCodeNotifyEventChain::CallEntry(const TMethod& method) { TNotifyEvent::FromMethod(method)(sender_); }

#pragma once
// A list of methods fired in the order they were added, through which a highlighter
// tells every editor that uses it about a change. The same method may be added more
// than once; removing it removes every entry. An optional exception handler decides
// whether firing goes on after a method raised.

#include "platform/core/objects/Delegate.h"
#include "platform/core/Exceptions.h"
#include "platform/core/objects/Object.h"

#include <exception>
#include <vector>

class ECodeMethodChain : public Exception {
    using Exception::Exception;
};

// Sender (the chain), the exception raised, and whether to go on with the next method.
using TCodeExceptionEvent = TDelegate<void(TObject* sender, const std::exception& error, bool& doContinue)>;

class TCodeMethodChain : public TObject {
    KP_CLASS(TCodeMethodChain, TObject)
public:
    TCodeMethodChain() = default;
    ~TCodeMethodChain() override = default;

    // ECodeMethodChain when the method is empty.
    void Add(const TMethod& method);
    void Remove(const TMethod& method);
    void Fire();
    int Count() const { return static_cast<int>(entries_.size()); }
    const TMethod& Entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }

    TCodeExceptionEvent ExceptionHandler;

protected:
    virtual void CallEntry(const TMethod& method) = 0;
    // Whether firing goes on. Without a handler the exception propagates.
    virtual bool DoHandleException(const std::exception& error);

private:
    std::vector<TMethod> entries_;
    // Positions of the Fire loops running now, moved back when an entry before them goes.
    std::vector<std::size_t*> cursors_;
};

// A chain of notify events, all called with the chain's sender.
class TCodeNotifyEventChain : public TCodeMethodChain {
    KP_CLASS(TCodeNotifyEventChain, TCodeMethodChain)
public:
    explicit TCodeNotifyEventChain(TObject* sender) : sender_(sender) {}

    void Add(const TNotifyEvent& event) { TCodeMethodChain::Add(event.AsMethod()); }
    void Remove(const TNotifyEvent& event) { TCodeMethodChain::Remove(event.AsMethod()); }
    TObject* Sender() const { return sender_; }
    void SetSender(TObject* sender) { sender_ = sender; }

protected:
    void CallEntry(const TMethod& method) override;

private:
    TObject* sender_;
};

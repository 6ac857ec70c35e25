#include "editor/control/CodeEditKbdHandler.h"

#include <algorithm>

namespace {

// Sets a flag for the length of a scope, whichever way the scope is left.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

template <class Event>
void AddOnce(std::vector<Event>& chain, const Event& handler)
{
    if (handler && std::find(chain.begin(), chain.end(), handler) == chain.end()) {
        chain.push_back(handler);
    }
}

template <class Event>
void RemoveAll(std::vector<Event>& chain, const Event& handler)
{
    chain.erase(std::remove(chain.begin(), chain.end(), handler), chain.end());
}

} // namespace

TCodeEditKbdHandler::TCodeEditKbdHandler(TObject* editor, TKeyEvent& editorKeyDown,
                                         TKeyPressEvent& editorKeyPress)
    : editor_(editor), editorKeyDown_(editorKeyDown), editorKeyPress_(editorKeyPress),
      userKeyPress_(editorKeyPress), userKeyDown_(editorKeyDown)
{
    editorKeyDown_ = MakeDelegate<&TCodeEditKbdHandler::ExecuteKeyDown>(this);
    editorKeyPress_ = MakeDelegate<&TCodeEditKbdHandler::ExecuteKeyPress>(this);
}

TCodeEditKbdHandler::~TCodeEditKbdHandler()
{
    editorKeyDown_ = userKeyDown_;
    editorKeyPress_ = userKeyPress_;
}

void TCodeEditKbdHandler::AddKeyDownHandler(const TKeyEvent& handler) { AddOnce(keyDownChain_, handler); }

void TCodeEditKbdHandler::RemoveKeyDownHandler(const TKeyEvent& handler) { RemoveAll(keyDownChain_, handler); }

void TCodeEditKbdHandler::AddKeyPressHandler(const TKeyPressEvent& handler) { AddOnce(keyPressChain_, handler); }

void TCodeEditKbdHandler::RemoveKeyPressHandler(const TKeyPressEvent& handler)
{
    RemoveAll(keyPressChain_, handler);
}

void TCodeEditKbdHandler::SetOnKeyDown(const TKeyEvent& handler)
{
    userKeyDown_ = handler;
    editorKeyDown_ = MakeDelegate<&TCodeEditKbdHandler::ExecuteKeyDown>(this);
}

void TCodeEditKbdHandler::SetOnKeyPress(const TKeyPressEvent& handler)
{
    userKeyPress_ = handler;
    editorKeyPress_ = MakeDelegate<&TCodeEditKbdHandler::ExecuteKeyPress>(this);
}

void TCodeEditKbdHandler::ExecuteKeyDown(TObject* sender, TVirtualKey& key, TShiftState shift)
{
    if (inKeyDown_) {
        return;
    }
    FlagScope scope(inKeyDown_);
    // By index, re-checked each step: a link may remove itself or others while it runs.
    for (std::size_t i = keyDownChain_.size(); i-- > 0;) {
        if (i >= keyDownChain_.size()) {
            continue;
        }
        const TKeyEvent link = keyDownChain_[i];
        link(sender, key, shift);
        if (key == 0) {
            return;
        }
    }
    if (userKeyDown_) {
        userKeyDown_(sender, key, shift);
    }
}

void TCodeEditKbdHandler::ExecuteKeyPress(TObject* sender, QChar& key)
{
    if (inKeyPress_) {
        return;
    }
    FlagScope scope(inKeyPress_);
    for (std::size_t i = keyPressChain_.size(); i-- > 0;) {
        if (i >= keyPressChain_.size()) {
            continue;
        }
        const TKeyPressEvent link = keyPressChain_[i];
        link(sender, key);
        if (key.isNull()) {
            return;
        }
    }
    if (userKeyPress_) {
        userKeyPress_(sender, key);
    }
}

#pragma once
// Lets other components (the completion list, editor plug-ins) see the editor's keys
// before the editor turns them into commands. The handler puts its own dispatchers in
// the editor's key events; the handlers the user assigns to those events become the last
// link of each chain. Links are called newest first; a link that consumes the key ends
// the dispatch.

#include "editor/control/CodeEditKeyEvents.h"

#include <vector>

class TCodeEditKbdHandler {
public:
    // Takes the editor's current handlers as the user's and installs the dispatchers in
    // the editor's two event slots, which must outlive this object.
    TCodeEditKbdHandler(TObject* editor, TKeyEvent& editorKeyDown, TKeyPressEvent& editorKeyPress);
    // Gives the editor back the user's handlers.
    ~TCodeEditKbdHandler();
    TCodeEditKbdHandler(const TCodeEditKbdHandler&) = delete;
    TCodeEditKbdHandler& operator=(const TCodeEditKbdHandler&) = delete;

    TObject* Editor() const { return editor_; }

    // A link already in the chain is not added twice.
    void AddKeyDownHandler(const TKeyEvent& handler);
    void RemoveKeyDownHandler(const TKeyEvent& handler);
    void AddKeyPressHandler(const TKeyPressEvent& handler);
    void RemoveKeyPressHandler(const TKeyPressEvent& handler);
    int KeyDownHandlerCount() const { return static_cast<int>(keyDownChain_.size()); }
    int KeyPressHandlerCount() const { return static_cast<int>(keyPressChain_.size()); }

    // The user's handlers, which the editor's OnKeyDown and OnKeyPress properties show.
    const TKeyEvent& OnKeyDown() const { return userKeyDown_; }
    void SetOnKeyDown(const TKeyEvent& handler);
    const TKeyPressEvent& OnKeyPress() const { return userKeyPress_; }
    void SetOnKeyPress(const TKeyPressEvent& handler);

    // The dispatchers. A nested call (a link sending a key to the same editor) does nothing.
    void ExecuteKeyDown(TObject* sender, TVirtualKey& key, TShiftState shift);
    void ExecuteKeyPress(TObject* sender, QChar& key);

private:
    TObject* editor_;
    TKeyEvent& editorKeyDown_;
    TKeyPressEvent& editorKeyPress_;
    std::vector<TKeyPressEvent> keyPressChain_;
    TKeyPressEvent userKeyPress_;
    bool inKeyPress_ = false;
    std::vector<TKeyEvent> keyDownChain_;
    TKeyEvent userKeyDown_;
    bool inKeyDown_ = false;
};

#pragma once
// The events of a keyboard macro: one recorded editor command each, able to play
// itself back into an editor, to show itself as a line of text and read that text
// back, and to write and read a little-endian record:
//   basic      command (2), count (1)
//   character  511 (2), key (1), count (1)
//   string     630 (2), N (4, signed), N bytes: the value in UTF-8 and a zero, count (1)
//   position   command (2), count (1), x (4), y (4)
// LoadFromStream reads what follows the command number; ReadMacroEvent reads the
// number first and makes the event of its class.

#include "editor/control/CodeEditCommandData.h"
#include "editor/control/CodeEditCommands.h"
#include "platform/core/objects/Object.h"

#include <QString>

#include <cstdint>
#include <memory>

class TCustomCodeEdit;
class TStream;

class TCodeMacroEvent : public TObject {
    KP_CLASS(TCodeMacroEvent, TObject)
public:
    // The longest string value a stream may hold, in bytes.
    static constexpr std::int32_t MaxStreamedValue = 1 << 20;

    std::uint8_t RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(std::uint8_t count) { repeatCount_ = count; }

    // The command's name, the parameters and, above 1, a blank and the count.
    QString TextForm() const;
    // Reads the parameters and the count from the text after the command's name.
    virtual void ParseParameters(const QString& text) = 0;
    // Takes what a recorded command carried.
    virtual void Initialize(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data) = 0;
    // Trusts nothing: EReadError when the stream ends early or holds an impossible
    // length; the event is unchanged when reading fails.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    // Gives the command to the editor as a typed one, through its hooks.
    virtual void Playback(TCustomCodeEdit& editor) = 0;
    // The command the event plays back.
    virtual TCodeEditorCommand Command() const = 0;

protected:
    // The text form's parameters, without the name and the count.
    virtual QString Parameters() const { return QString(); }

private:
    std::uint8_t repeatCount_ = 1;
};

// Any command without parameters.
class TCodeBasicEvent : public TCodeMacroEvent {
    KP_CLASS(TCodeBasicEvent, TCodeMacroEvent)
public:
    explicit TCodeBasicEvent(TCodeEditorCommand command = ecNone) : command_(command) {}

    void ParseParameters(const QString& text) override;
    void Initialize(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void Playback(TCustomCodeEdit& editor) override;
    TCodeEditorCommand Command() const override { return command_; }
    void SetCommand(TCodeEditorCommand command) { command_ = command; }

private:
    TCodeEditorCommand command_;
};

// A typed character (ecChar).
class TCodeCharEvent : public TCodeMacroEvent {
    KP_CLASS(TCodeCharEvent, TCodeMacroEvent)
public:
    void ParseParameters(const QString& text) override;
    // The command carries no data: anything else fails an assertion.
    void Initialize(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data) override;
    void LoadFromStream(TStream& stream) override;
    // A key above U+00FF has no byte of its own: it is written as a string event,
    // which plays back the same.
    void SaveToStream(TStream& stream) const override;
    void Playback(TCustomCodeEdit& editor) override;
    TCodeEditorCommand Command() const override { return ecChar; }
    QChar Key() const { return key_; }
    void SetKey(QChar key) { key_ = key; }

protected:
    QString Parameters() const override;

private:
    QChar key_;
};

// A text typed character by character (ecString).
class TCodeStringEvent : public TCodeMacroEvent {
    KP_CLASS(TCodeStringEvent, TCodeMacroEvent)
public:
    void ParseParameters(const QString& text) override;
    void Initialize(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void Playback(TCustomCodeEdit& editor) override;
    TCodeEditorCommand Command() const override { return ecString; }
    const QString& Value() const { return value_; }
    void SetValue(const QString& value) { value_ = value; }

protected:
    QString Parameters() const override;

private:
    QString value_;
};

// A command that carries a text position: ecGotoXY, ecSelGotoXY, ecSetMarker0..9.
class TCodePositionEvent : public TCodeBasicEvent {
    KP_CLASS(TCodePositionEvent, TCodeBasicEvent)
public:
    using TCodeBasicEvent::TCodeBasicEvent;

    void ParseParameters(const QString& text) override;
    void Initialize(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // Once, whatever the count.
    void Playback(TCustomCodeEdit& editor) override;
    TTextPoint Position() const { return position_; }
    void SetPosition(TTextPoint position) { position_ = position; }

protected:
    QString Parameters() const override;

private:
    TTextPoint position_;
};

// An event of the command's class, carrying the command.
std::unique_ptr<TCodeMacroEvent> NewMacroEvent(TCodeEditorCommand command);
// Reads one record: the command number, then the rest by its class. EReadError when
// the stream ends early or the record is impossible; nothing is made then.
std::unique_ptr<TCodeMacroEvent> ReadMacroEvent(TStream& stream);

#include "editor/macros/CodeMacroEvents.h"

#include "editor/control/CodeEdit.h"
#include "editor/document/CodeEditTextCodec.h"
#include "platform/core/Assert.h"
#include "platform/core/files/Stream.h"
#include "platform/core/text/Utf8.h"

#include <string>

namespace {

// --- little-endian fields ------------------------------------------------------------

void WriteByte(TStream& stream, std::uint8_t value) { stream.WriteBuffer(&value, 1); }

void WriteWord(TStream& stream, std::uint16_t value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    stream.WriteBuffer(bytes, 2);
}

void WriteInt32(TStream& stream, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                                   static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
    stream.WriteBuffer(bytes, 4);
}

std::uint8_t ReadByte(TStream& stream)
{
    std::uint8_t value = 0;
    stream.ReadBuffer(&value, 1);
    return value;
}

std::uint16_t ReadWord(TStream& stream)
{
    std::uint8_t bytes[2];
    stream.ReadBuffer(bytes, 2);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::int32_t ReadInt32(TStream& stream)
{
    std::uint8_t bytes[4];
    stream.ReadBuffer(bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24));
}

// --- string values ---------------------------------------------------------------------

// UTF-8, except that a surrogate without its partner keeps its own three bytes: a
// character typed outside the basic plane arrives as two character events, and each
// half must survive on its own.
std::string EncodeValue(const QString& value)
{
    const std::u16string_view units(QStringView(value).utf16(), static_cast<std::size_t>(value.size()));
    return Utf16ToUtf8(units, TLoneSurrogates::Keep);
}

// A value written by another program may be in Windows-1252; it is read as
// part-program files are.
QString DecodeValue(const std::string& bytes)
{
    if (IsWellFormedUtf8(bytes, TLoneSurrogates::Keep)) {
        return QString::fromStdU16String(Utf8ToUtf16(bytes, TLoneSurrogates::Keep));
    }
    return DecodeText(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())), TTextEncoding::Windows1252);
}

void WriteStringRecord(TStream& stream, const QString& value, std::uint8_t count)
{
    const std::string bytes = EncodeValue(value);
    WriteWord(stream, ecString);
    WriteInt32(stream, static_cast<std::int32_t>(bytes.size() + 1));
    stream.WriteBuffer(bytes.c_str(), static_cast<std::int64_t>(bytes.size() + 1));
    WriteByte(stream, count);
}

// --- text parameters ---------------------------------------------------------------------

// A count from 1 to 255, else 1.
std::uint8_t ParseCount(const QString& text)
{
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    return ok && count >= 1 && count <= 255 ? static_cast<std::uint8_t>(count) : 1;
}

// A coordinate of a position's text, 1 when it is no number.
int ParseCoordinate(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 1;
}

void DispatchPlain(TCustomCodeEdit& editor, TCodeEditorCommand command, QChar aChar)
{
    editor.DispatchCommand(command, aChar, TCodeEditCommandData());
}

} // namespace

// --- every event -------------------------------------------------------------------------

QString TCodeMacroEvent::TextForm() const
{
    QString text = CommandToText(Command()) + Parameters();
    if (RepeatCount() > 1) {
        text += QLatin1Char(' ') + QString::number(RepeatCount());
    }
    return text;
}

// --- basic -------------------------------------------------------------------------------

void TCodeBasicEvent::ParseParameters(const QString& text) { SetRepeatCount(ParseCount(text)); }

void TCodeBasicEvent::Initialize(TCodeEditorCommand command, QChar, const TCodeEditCommandData&) { command_ = command; }

void TCodeBasicEvent::LoadFromStream(TStream& stream) { SetRepeatCount(ReadByte(stream)); }

void TCodeBasicEvent::SaveToStream(TStream& stream) const
{
    WriteWord(stream, command_);
    WriteByte(stream, RepeatCount());
}

void TCodeBasicEvent::Playback(TCustomCodeEdit& editor)
{
    for (int i = 0; i < RepeatCount(); ++i) {
        DispatchPlain(editor, command_, QChar());
    }
}

// --- character ---------------------------------------------------------------------------

QString TCodeCharEvent::Parameters() const { return QLatin1Char(' ') + key_; }

// The text form puts one blank before the key, which may be a blank itself.
void TCodeCharEvent::ParseParameters(const QString& text)
{
    const QString rest = text.startsWith(QLatin1Char(' ')) ? text.mid(1) : text;
    key_ = rest.isEmpty() ? QChar(QLatin1Char(' ')) : rest[0];
    SetRepeatCount(ParseCount(rest.mid(1)));
}

void TCodeCharEvent::Initialize(TCodeEditorCommand, QChar aChar, const TCodeEditCommandData& data)
{
    KP_ASSERT(std::holds_alternative<std::monostate>(data));
    key_ = aChar;
}

void TCodeCharEvent::LoadFromStream(TStream& stream)
{
    const std::uint8_t key = ReadByte(stream);
    SetRepeatCount(ReadByte(stream));
    key_ = QChar(key);
}

void TCodeCharEvent::SaveToStream(TStream& stream) const
{
    if (key_.unicode() > 0xFF) {
        WriteStringRecord(stream, QString(key_), RepeatCount());
        return;
    }
    WriteWord(stream, ecChar);
    WriteByte(stream, static_cast<std::uint8_t>(key_.unicode()));
    WriteByte(stream, RepeatCount());
}

void TCodeCharEvent::Playback(TCustomCodeEdit& editor)
{
    for (int i = 0; i < RepeatCount(); ++i) {
        DispatchPlain(editor, ecChar, key_);
    }
}

// --- string ------------------------------------------------------------------------------

QString TCodeStringEvent::Parameters() const
{
    QString quoted = value_;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1String(" '") + quoted + QLatin1Char('\'');
}

void TCodeStringEvent::ParseParameters(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('\''));
    const qsizetype last = text.lastIndexOf(QLatin1Char('\''));
    if (first < 0) {
        value_.clear();
        SetRepeatCount(ParseCount(text));
        return;
    }
    value_ = text.mid(first + 1, last - first - 1);
    value_.replace(QLatin1String("''"), QLatin1String("'"));
    SetRepeatCount(ParseCount(text.mid(last + 1)));
}

void TCodeStringEvent::Initialize(TCodeEditorCommand, QChar, const TCodeEditCommandData& data)
{
    const QString* text = CommandText(data);
    value_ = text ? *text : QString();
}

void TCodeStringEvent::LoadFromStream(TStream& stream)
{
    const std::int32_t length = ReadInt32(stream);
    if (length < 1 || length > MaxStreamedValue || length > stream.Remaining()) {
        throw EReadError("Invalid macro string length " + std::to_string(length));
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    stream.ReadBuffer(bytes.data(), length);
    const std::uint8_t count = ReadByte(stream);
    const std::size_t end = bytes.find('\0');
    if (end != std::string::npos) {
        bytes.resize(end);
    }
    value_ = DecodeValue(bytes);
    SetRepeatCount(count);
}

void TCodeStringEvent::SaveToStream(TStream& stream) const { WriteStringRecord(stream, value_, RepeatCount()); }

void TCodeStringEvent::Playback(TCustomCodeEdit& editor)
{
    for (int i = 0; i < RepeatCount(); ++i) {
        for (const QChar c : value_) {
            DispatchPlain(editor, ecChar, c);
        }
    }
}

// --- position ----------------------------------------------------------------------------

QString TCodePositionEvent::Parameters() const
{
    return QStringLiteral(" (%1, %2)").arg(position_.x).arg(position_.y);
}

void TCodePositionEvent::ParseParameters(const QString& text)
{
    const qsizetype open = text.indexOf(QLatin1Char('('));
    const qsizetype comma = open < 0 ? -1 : text.indexOf(QLatin1Char(','), open + 1);
    const qsizetype close = comma < 0 ? -1 : text.indexOf(QLatin1Char(')'), comma + 1);
    if (close < 0) {
        position_ = TTextPoint{1, 1};
        SetRepeatCount(ParseCount(text));
        return;
    }
    position_ = TTextPoint{ParseCoordinate(text.mid(open + 1, comma - open - 1)),
                           ParseCoordinate(text.mid(comma + 1, close - comma - 1))};
    SetRepeatCount(ParseCount(text.mid(close + 1)));
}

void TCodePositionEvent::Initialize(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data)
{
    TCodeBasicEvent::Initialize(command, aChar, data);
    if (const TTextPoint* point = CommandPoint(data)) {
        position_ = *point;
    }
}

void TCodePositionEvent::LoadFromStream(TStream& stream)
{
    const std::uint8_t count = ReadByte(stream);
    const std::int32_t x = ReadInt32(stream);
    const std::int32_t y = ReadInt32(stream);
    SetRepeatCount(count);
    position_ = TTextPoint{x, y};
}

void TCodePositionEvent::SaveToStream(TStream& stream) const
{
    TCodeBasicEvent::SaveToStream(stream);
    WriteInt32(stream, position_.x);
    WriteInt32(stream, position_.y);
}

void TCodePositionEvent::Playback(TCustomCodeEdit& editor)
{
    editor.DispatchCommand(Command(), QChar(), TCodeEditCommandData(position_));
}

// --- making events -----------------------------------------------------------------------

std::unique_ptr<TCodeMacroEvent> NewMacroEvent(TCodeEditorCommand command)
{
    if (command == ecChar) {
        return std::make_unique<TCodeCharEvent>();
    }
    if (command == ecString) {
        return std::make_unique<TCodeStringEvent>();
    }
    if (command == ecGotoXY || command == ecSelGotoXY || (command >= ecSetMarker0 && command <= ecSetMarker9)) {
        return std::make_unique<TCodePositionEvent>(command);
    }
    return std::make_unique<TCodeBasicEvent>(command);
}

std::unique_ptr<TCodeMacroEvent> ReadMacroEvent(TStream& stream)
{
    std::unique_ptr<TCodeMacroEvent> event = NewMacroEvent(ReadWord(stream));
    event->LoadFromStream(stream);
    return event;
}

#include "../EditorSession.h"
#include "editor/macros/CodeMacroEvents.h"
#include "platform/core/files/Stream.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An event from its text form: the command's name, then the parameters.
std::unique_ptr<TCodeMacroEvent> ParseEvent(const QString& text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    TCodeEditorCommand command = ecNone;
    EXPECT_TRUE(IdentToCommand(text.left(blank < 0 ? text.size() : blank), command)) << text.toStdString();
    std::unique_ptr<TCodeMacroEvent> event = NewMacroEvent(command);
    event->ParseParameters(blank < 0 ? QString() : text.mid(blank + 1));
    return event;
}

std::string Bytes(const char* hex) { return QByteArray::fromHex(hex).toStdString(); }

struct TFormCase {
    const char16_t* text;   // parsed
    const char16_t* form;   // the text form of what was parsed
    const char* bytes;      // what it saves as
    const char16_t* reread; // the text form of what those bytes read back as
};

class MacroEventForms : public testing::TestWithParam<TFormCase> {};

TEST_P(MacroEventForms, TextAndStreamFormsRoundTrip)
{
    const TFormCase& c = GetParam();
    const std::unique_ptr<TCodeMacroEvent> event = ParseEvent(QString::fromUtf16(c.text));
    EXPECT_EQ(event->TextForm(), QString::fromUtf16(c.form));
    TStringStream saved;
    event->SaveToStream(saved);
    EXPECT_EQ(saved.DataString(), Bytes(c.bytes));

    TStringStream stream(Bytes(c.bytes));
    const std::unique_ptr<TCodeMacroEvent> read = ReadMacroEvent(stream);
    EXPECT_EQ(read->TextForm(), QString::fromUtf16(c.reread));
    EXPECT_EQ(stream.Remaining(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Events, MacroEventForms,
    testing::Values(
        TFormCase{u"ecDeleteChar 3", u"ecDeleteChar 3", "F6 01 03", u"ecDeleteChar 3"},
        TFormCase{u"ecLeft x", u"ecLeft", "01 00 01", u"ecLeft"},
        TFormCase{u"ecLeft 300", u"ecLeft", "01 00 01", u"ecLeft"}, // a count is one byte
        TFormCase{u"ecChar a", u"ecChar a", "FF 01 61 01", u"ecChar a"},
        TFormCase{u"ecChar   3", u"ecChar   3", "FF 01 20 03", u"ecChar   3"}, // a blank typed three times
        TFormCase{u"ecChar", u"ecChar  ", "FF 01 20 01", u"ecChar  "},
        TFormCase{u"ecChar \u00E9", u"ecChar \u00E9", "FF 01 E9 01", u"ecChar \u00E9"},
        // No byte holds the euro sign: it goes as a string, which types the same.
        TFormCase{u"ecChar \u20AC 2", u"ecChar \u20AC 2", "76 02 04 00 00 00 E2 82 AC 00 02", u"ecString '\u20AC' 2"},
        // Half of a character outside the basic plane, as typing it records it.
        TFormCase{u"ecChar \xD83D", u"ecChar \xD83D", "76 02 04 00 00 00 ED A0 BD 00 01", u"ecString '\xD83D'"},
        TFormCase{u"ecString 'a''b'", u"ecString 'a''b'", "76 02 04 00 00 00 61 27 62 00 01", u"ecString 'a''b'"},
        TFormCase{u"ecString x 'it''s' 2", u"ecString 'it''s' 2", "76 02 05 00 00 00 69 74 27 73 00 02",
                  u"ecString 'it''s' 2"},
        TFormCase{u"ecString", u"ecString ''", "76 02 01 00 00 00 00 01", u"ecString ''"},
        TFormCase{u"ecGotoXY (3, -2)", u"ecGotoXY (3, -2)", "11 00 01 03 00 00 00 FE FF FF FF", u"ecGotoXY (3, -2)"},
        TFormCase{u"ecSelGotoXY (a, 7) 2", u"ecSelGotoXY (1, 7) 2", "75 00 02 01 00 00 00 07 00 00 00",
                  u"ecSelGotoXY (1, 7) 2"},
        TFormCase{u"ecSetMarker9 )4, (5", u"ecSetMarker9 (1, 1)", "68 01 01 01 00 00 00 01 00 00 00",
                  u"ecSetMarker9 (1, 1)"}));

TEST(MacroEventStream, ForeignValuesReadAsFarAsTheirZeroOrAsWindows1252)
{
    TStringStream noZero(Bytes("76 02 02 00 00 00 61 62 01"));
    EXPECT_EQ(ReadMacroEvent(noZero)->TextForm(), "ecString 'ab'");
    TStringStream ansi(Bytes("76 02 04 00 00 00 E9 00 7A 7A 01"));
    EXPECT_EQ(ReadMacroEvent(ansi)->TextForm(), QString::fromUtf16(u"ecString '\u00E9'"));
}

// Values are UTF-8 that may keep lone surrogates; anything else that is not well-formed
// reads as Windows-1252, as the macro's own decoder did.
TEST(MacroEventStream, ValuesReadAsUtf8WithLoneSurrogatesElseAsWindows1252)
{
    struct Case {
        const char* value; // the bytes before the zero
        const char16_t* text;
    } cases[] = {
        {"E2 82 AC", u"\u20AC"},
        {"F0 9F 98 80", u"\U0001F600"},
        {"ED A0 BD ED B8 80", u"\U0001F600"},    // the halves, one by one
        {"ED B8 80 61", u"\xDE00" "a"},           // a low half alone
        {"C0 AF", u"\u00C0\u00AF"},              // overlong
        {"E0 80 AF", u"\u00E0\u20AC\u00AF"},
        {"F4 90 80 80", u"\u00F4\u0090\u20AC\u20AC"}, // beyond U+10FFFF
        {"E2 82", u"\u00E2\u201A"},              // cut off
    };
    for (const Case& c : cases) {
        const std::string value = Bytes(c.value);
        std::string record = Bytes("76 02");
        const auto length = static_cast<char>(value.size() + 1);
        record += std::string{length, 0, 0, 0} + value + std::string(1, '\0') + Bytes("01");
        TStringStream stream(record);
        const std::unique_ptr<TCodeMacroEvent> event = ReadMacroEvent(stream);
        EXPECT_EQ(static_cast<TCodeStringEvent&>(*event).Value(), QString::fromUtf16(c.text)) << c.value;
    }
}

TEST(MacroEventStream, ImpossibleOrCutRecordsMakeNothing)
{
    const char* const records[] = {
        "",                                   // no command
        "F6 01",                              // basic without its count
        "FF 01 61",                           // character without its count
        "76 02 00 00 00 00 01",               // a length below 1
        "76 02 FF FF FF FF 01",               // a negative length
        "76 02 05 00 00 00 61 62 00 01",      // longer than the stream
        "76 02 02 00 00 00 61 00",            // string without its count
        "11 00 01 03 00 00 00 04 00",         // position cut in y
    };
    for (const char* hex : records) {
        TStringStream stream(Bytes(hex));
        EXPECT_THROW(ReadMacroEvent(stream), EReadError) << hex;
    }
    std::string huge = Bytes("76 02 01 00 10 00"); // 1 MiB + 1, all there
    huge.append(static_cast<std::size_t>(TCodeMacroEvent::MaxStreamedValue) + 2, 'x');
    TStringStream stream(huge);
    EXPECT_THROW(ReadMacroEvent(stream), EReadError);

    TCodePositionEvent event(ecGotoXY);
    event.SetPosition({5, 6});
    event.SetRepeatCount(2);
    TStringStream cut(Bytes("03 07 00 00 00 08 00"));
    EXPECT_THROW(event.LoadFromStream(cut), EReadError);
    EXPECT_EQ(event.TextForm(), "ecGotoXY (5, 6) 2") << "a failed read changes nothing";
}

TEST(MacroEventPlayback, EventsGoThroughTheEditorAsTypedCommands)
{
    TEditorSession s(LinesOf("abcdef|xy"));
    std::string seen;
    s.editor.OnProcessCommand = [&seen](TObject*, TCodeEditorCommand& command, QChar&, const TCodeEditCommandData&) {
        seen += std::to_string(command) + " ";
    };
    for (const char16_t* text : {u"ecGotoXY (2, 1) 3", u"ecDeleteChar 2", u"ecString 'q''' 2", u"ecChar Z 2"}) {
        ParseEvent(QString::fromUtf16(text))->Playback(s.editor);
    }
    EXPECT_EQ(s.Text(), "aq'q'ZZdef|xy");
    EXPECT_EQ(seen, "17 502 502 511 511 511 511 511 511 ") << "a position plays once, whatever its count";
    EXPECT_THROW(TCodeCharEvent().Initialize(ecChar, QLatin1Char('a'), TTextPoint{1, 1}), EAssertionFailed);
}

} // namespace

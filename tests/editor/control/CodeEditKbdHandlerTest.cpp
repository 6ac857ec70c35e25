#include "editor/control/CodeEditKbdHandler.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Stands in for the editor control: two event slots and a way to send it keys.
class TFakeEditor : public TObject {
public:
    TKeyEvent OnKeyDownSlot;
    TKeyPressEvent OnKeyPressSlot;
    TVirtualKey SendKey(TVirtualKey key, TShiftState shift = ssNone)
    {
        if (OnKeyDownSlot) {
            OnKeyDownSlot(this, key, shift);
        }
        return key;
    }
    QChar SendChar(QChar c)
    {
        if (OnKeyPressSlot) {
            OnKeyPressSlot(this, c);
        }
        return c;
    }
};

struct TLink {
    std::string name;
    std::string* log;
    bool consume = false;
    TFakeEditor* resend = nullptr;
    void KeyDown(TObject*, TVirtualKey& key, TShiftState)
    {
        *log += name + ";";
        if (resend) {
            resend->SendKey(key);
        }
        if (consume) {
            key = 0;
        }
    }
    void KeyPress(TObject*, QChar& c)
    {
        *log += name + ":" + QString(c).toStdString() + ";";
        if (consume) {
            c = QChar();
        }
    }
};

// An editor with a key handler in front of it and a log that its links write to.
class CodeEditKbdHandler : public ::testing::Test {
protected:
    std::string log;
    TFakeEditor editor;
    TCodeEditKbdHandler handler{&editor, editor.OnKeyDownSlot, editor.OnKeyPressSlot};
};

TEST(CodeEditKbdHandlerUser, NewestLinkFirstAndConsumingStopsTheDispatch)
{
    std::string log;
    TFakeEditor editor;
    TLink user{"user", &log};
    editor.OnKeyDownSlot = MakeDelegate<&TLink::KeyDown>(&user);
    TCodeEditKbdHandler handler(&editor, editor.OnKeyDownSlot, editor.OnKeyPressSlot);
    EXPECT_EQ(handler.OnKeyDown(), MakeDelegate<&TLink::KeyDown>(&user)) << "the editor's handler becomes the user's";
    TLink a{"A", &log}, b{"B", &log};
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&a));
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&b));

    EXPECT_EQ(editor.SendKey(VK_RETURN), VK_RETURN);
    EXPECT_EQ(log, "B;A;user;");

    log.clear();
    b.consume = true;
    EXPECT_EQ(editor.SendKey(VK_RETURN), 0);
    EXPECT_EQ(log, "B;");
}

TEST_F(CodeEditKbdHandler, UserHandlerAssignedLaterStaysBehindTheChain)
{
    TLink a{"A", &log}, user{"user", &log};
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&a));
    handler.SetOnKeyDown(MakeDelegate<&TLink::KeyDown>(&user));
    editor.SendKey('X');
    EXPECT_EQ(log, "A;user;");
    EXPECT_NE(editor.OnKeyDownSlot, MakeDelegate<&TLink::KeyDown>(&user)) << "the dispatcher stays installed";
}

TEST_F(CodeEditKbdHandler, KeySentFromALinkIsNotDispatchedAgain)
{
    TLink a{"A", &log, false, &editor};
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&a));
    editor.SendKey('K');
    EXPECT_EQ(log, "A;");
    editor.SendKey('K'); // the flag was cleared after the first dispatch
    EXPECT_EQ(log, "A;A;");
}

TEST_F(CodeEditKbdHandler, LinksAreAddedOnceAndRemovedByMethod)
{
    TLink a{"A", &log}, b{"B", &log};
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&a));
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&a));
    handler.AddKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&b));
    handler.AddKeyDownHandler(nullptr);
    EXPECT_EQ(handler.KeyDownHandlerCount(), 2);
    editor.SendKey('Q');
    EXPECT_EQ(log, "B;A;");
    handler.RemoveKeyDownHandler(MakeDelegate<&TLink::KeyDown>(&b));
    log.clear();
    editor.SendKey('Q');
    EXPECT_EQ(log, "A;");
}

TEST(CodeEditKbdHandlerUser, KeyPressChainConsumesWithNul)
{
    std::string log;
    TFakeEditor editor;
    TLink user{"user", &log};
    editor.OnKeyPressSlot = MakeDelegate<&TLink::KeyPress>(&user);
    {
        TCodeEditKbdHandler handler(&editor, editor.OnKeyDownSlot, editor.OnKeyPressSlot);
        TLink a{"A", &log}, b{"B", &log, true};
        handler.AddKeyPressHandler(MakeDelegate<&TLink::KeyPress>(&a));
        EXPECT_EQ(editor.SendChar('x'), QChar('x'));
        EXPECT_EQ(log, "A:x;user:x;");
        log.clear();
        handler.AddKeyPressHandler(MakeDelegate<&TLink::KeyPress>(&b));
        EXPECT_TRUE(editor.SendChar('y').isNull());
        EXPECT_EQ(log, "B:y;");
        handler.RemoveKeyPressHandler(MakeDelegate<&TLink::KeyPress>(&b));
        EXPECT_EQ(handler.KeyPressHandlerCount(), 1);
    }
    // Destroyed: the editor has its own handler back, no chain in front.
    EXPECT_EQ(editor.OnKeyPressSlot, MakeDelegate<&TLink::KeyPress>(&user));
    log.clear();
    editor.SendChar('z');
    EXPECT_EQ(log, "user:z;");
}

} // namespace

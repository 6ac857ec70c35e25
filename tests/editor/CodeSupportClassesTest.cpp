#include "editor/painting/CodeBookMarkOpt.h"
#include "editor/painting/CodeGutter.h"
#include "editor/control/CodeMethodChain.h"
#include "editor/painting/CodeSelectedColor.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct TChangeLog {
    int count = 0;
    TObject* sender = nullptr;
    void Changed(TObject* s)
    {
        ++count;
        sender = s;
    }
};

TEST(CodeGutter, SettersClampAndFireOnlyOnChange)
{
    TCodeGutter gutter;
    TChangeLog log;
    gutter.OnChange = MakeDelegate<&TChangeLog::Changed>(&log);
    struct Case {
        int set;
        int stored;
    } digits[] = {{1, 2}, {20, 12}, {7, 7}, {2, 2}, {12, 12}, {-3, 2}};
    for (const Case& c : digits) {
        gutter.SetDigitCount(c.set);
        EXPECT_EQ(gutter.DigitCount(), c.stored) << c.set;
        EXPECT_EQ(gutter.AutoSizeDigitCount(), c.stored) << c.set;
    }
    log.count = 0;
    gutter.SetWidth(-5);
    EXPECT_EQ(gutter.Width(), 0);
    gutter.SetLeftOffset(-1);
    EXPECT_EQ(gutter.LeftOffset(), 0);
    gutter.SetRightOffset(-1);
    EXPECT_EQ(gutter.RightOffset(), 0);
    EXPECT_EQ(log.count, 3);
    gutter.SetWidth(-9); // still 0: no change
    gutter.SetVisible(true);
    gutter.SetCursor(5); // stored directly
    EXPECT_EQ(log.count, 3);
    gutter.Font().SetSize(10);
    EXPECT_EQ(log.count, 4) << "a font change fires the gutter's event";
    EXPECT_EQ(log.sender, &gutter);
}

TEST(CodeGutter, LineNumberText)
{
    struct Case {
        bool zeroStart, leadingZeros;
        int line;
        QString text;
    } cases[] = {
        {true, true, 1, "0000"},   {true, true, 12, "0011"},   {false, false, 1, "   1"},
        {false, true, 42, "0042"}, {false, false, 12345, "12345"}, {true, false, 1, "   0"},
    };
    for (const Case& c : cases) {
        TCodeGutter gutter;
        gutter.SetZeroStart(c.zeroStart);
        gutter.SetLeadingZeros(c.leadingZeros);
        EXPECT_EQ(gutter.LineNumberText(c.line), c.text) << c.line;
    }
}

TEST(CodeGutter, FitDigitCountFollowsTheLineCount)
{
    struct Case {
        bool autoSize, showNumbers, visible, zeroStart;
        int lines;
        int digits;
    } cases[] = {
        {true, true, true, false, 12345, 5}, {true, true, true, true, 10000, 4},
        {true, true, true, false, 10000, 5}, {true, true, true, false, 99, 4},
        {false, true, true, false, 12345, 4}, {true, false, true, false, 12345, 4},
        {true, true, false, false, 12345, 4}, {true, true, true, false, 0, 4},
    };
    for (const Case& c : cases) {
        TCodeGutter gutter;
        gutter.SetAutoSize(c.autoSize);
        gutter.SetShowLineNumbers(c.showNumbers);
        gutter.SetVisible(c.visible);
        gutter.SetZeroStart(c.zeroStart);
        TChangeLog log;
        gutter.OnChange = MakeDelegate<&TChangeLog::Changed>(&log);
        gutter.FitDigitCount(c.lines);
        EXPECT_EQ(gutter.AutoSizeDigitCount(), c.digits) << c.lines;
        EXPECT_EQ(log.count, c.digits != 4 ? 1 : 0) << c.lines;
    }
}

TEST(CodeGutter, PixelWidth)
{
    TCodeGutter gutter;
    EXPECT_EQ(gutter.PixelWidth(8), 30);
    gutter.SetShowLineNumbers(true);
    EXPECT_EQ(gutter.PixelWidth(8), 16 + 2 + 4 * 8 + 2);
    gutter.SetVisible(false);
    EXPECT_EQ(gutter.PixelWidth(8), 0);
}

TEST(CodeGutter, AssignCopiesEverythingAndFiresOnce)
{
    TCodeGutter source;
    source.Font().SetName("Mono");
    source.SetColor(clRed);
    source.SetWidth(44);
    source.SetShowLineNumbers(true);
    source.SetDigitCount(6);
    source.SetLeadingZeros(true);
    source.SetZeroStart(true);
    source.SetLeftOffset(3);
    source.SetRightOffset(5);
    source.SetAutoSize(true);
    source.SetUseFontStyle(false);
    TCodeGutter copy;
    TChangeLog log;
    copy.OnChange = MakeDelegate<&TChangeLog::Changed>(&log);
    copy.Assign(&source);
    EXPECT_EQ(log.count, 1);
    EXPECT_EQ(copy.Font().Name(), "Mono");
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Width(), 44);
    EXPECT_EQ(copy.DigitCount(), 6);
    EXPECT_EQ(copy.AutoSizeDigitCount(), 6);
    EXPECT_TRUE(copy.LeadingZeros() && copy.ZeroStart() && copy.AutoSize() && copy.ShowLineNumbers());
    EXPECT_EQ(copy.LeftOffset(), 3);
    EXPECT_EQ(copy.RightOffset(), 5);
    EXPECT_FALSE(copy.UseFontStyle());
    copy.Font().SetSize(20);
    EXPECT_EQ(log.count, 2) << "the font still reports to its gutter";
    TCodeSelectedColor other;
    EXPECT_THROW(copy.Assign(&other), EConvertError);
}

TEST(CodeSelectedColor, ChangesAndAssign)
{
    TCodeSelectedColor colors;
    TChangeLog log;
    colors.OnChange = MakeDelegate<&TChangeLog::Changed>(&log);
    colors.SetBackground(clHighlight);
    EXPECT_EQ(log.count, 0);
    colors.SetBackground(clNavy);
    colors.SetForeground(clWhite);
    EXPECT_EQ(log.count, 2);
    TCodeSelectedColor copy;
    TChangeLog copyLog;
    copy.OnChange = MakeDelegate<&TChangeLog::Changed>(&copyLog);
    copy.Assign(&colors);
    EXPECT_EQ(copy.Background(), clNavy);
    EXPECT_EQ(copy.Foreground(), clWhite);
    EXPECT_EQ(copyLog.count, 1);
    EXPECT_EQ(copyLog.sender, &copy);
}

class TNotifiedOwner : public TComponent {
    KP_CLASS(TNotifiedOwner, TComponent)
public:
    TComponent* removed = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove) {
            removed = component;
        }
    }
};

TEST(CodeBookMarkOpt, EventsAndImageListNotification)
{
    TNotifiedOwner owner;
    TCodeBookMarkOpt options(&owner);
    TChangeLog log;
    options.OnChange = MakeDelegate<&TChangeLog::Changed>(&log);
    options.SetEnableKeys(false);
    EXPECT_EQ(log.count, 0) << "EnableKeys has no change event";
    options.SetXoffset(12);
    EXPECT_EQ(log.count, 0);
    options.SetLeftMargin(4);
    EXPECT_EQ(log.count, 1);

    auto* images = new TComponent();
    options.SetBookmarkImages(images);
    EXPECT_EQ(log.count, 2);
    delete images;
    EXPECT_EQ(owner.removed, images) << "the owner hears that the image list is gone";
}

struct TListener {
    std::string* log;
    std::string name;
    bool raise = false;
    TCodeNotifyEventChain* chain = nullptr; // removes itself while firing when set
    void Notify(TObject* sender)
    {
        *log += name + (sender ? "" : "(no sender)") + ";";
        if (chain) {
            chain->Remove(MakeDelegate<&TListener::Notify>(this));
        }
        if (raise) {
            throw std::runtime_error("failed in " + name);
        }
    }
};

struct TErrorPolicy {
    bool goOn = true;
    bool raise = false;
    std::string seen;
    void Handle(TObject*, const std::exception& e, bool& doContinue)
    {
        seen += std::string(e.what()) + ";";
        if (raise) {
            throw std::runtime_error("handler broke");
        }
        doContinue = goOn;
    }
};

TEST(CodeMethodChain, FiresInOrderAndRemovesEveryEntryOfAMethod)
{
    std::string log;
    TObject sender;
    TCodeNotifyEventChain chain(&sender);
    TListener a{&log, "A"}, b{&log, "B"};
    chain.Add(MakeDelegate<&TListener::Notify>(&a));
    chain.Add(MakeDelegate<&TListener::Notify>(&b));
    chain.Add(MakeDelegate<&TListener::Notify>(&a));
    chain.Fire();
    EXPECT_EQ(log, "A;B;A;");
    chain.Remove(MakeDelegate<&TListener::Notify>(&a));
    EXPECT_EQ(chain.Count(), 1);
    log.clear();
    chain.Fire();
    EXPECT_EQ(log, "B;");
}

TEST(CodeMethodChain, EmptyMethodsAreRefusedWithTheChainsClassName)
{
    TCodeNotifyEventChain chain(nullptr);
    try {
        chain.Add(TNotifyEvent());
        ADD_FAILURE();
    } catch (const ECodeMethodChain& e) {
        EXPECT_STREQ(e.what(), "TCodeNotifyEventChain.Entry : the parameter `AEvent' must be specified.");
    }
    try {
        chain.Remove(TNotifyEvent());
        ADD_FAILURE();
    } catch (const ECodeMethodChain& e) {
        EXPECT_STREQ(e.what(), "TCodeNotifyEventChain.Remove: the parameter `AEvent' must be specified.");
    }
}

// A chain without a sender of three listeners, the first of which raises.
class CodeMethodChainRaising : public ::testing::Test {
protected:
    CodeMethodChainRaising()
    {
        for (TListener* l : {&a, &b, &c}) {
            chain.Add(MakeDelegate<&TListener::Notify>(l));
        }
    }
    std::string log;
    TCodeNotifyEventChain chain{nullptr};
    TListener a{&log, "A", true}, b{&log, "B"}, c{&log, "C"};
    TErrorPolicy policy;
};

TEST_F(CodeMethodChainRaising, WithoutHandlerTheRestIsSkipped)
{
    EXPECT_THROW(chain.Fire(), std::runtime_error);
    EXPECT_EQ(log, "A(no sender);");
}

TEST_F(CodeMethodChainRaising, HandlerDecidesWhetherToGoOn)
{
    chain.ExceptionHandler = MakeDelegate<&TErrorPolicy::Handle>(&policy);
    EXPECT_NO_THROW(chain.Fire());
    EXPECT_EQ(log, "A(no sender);B(no sender);C(no sender);");
    policy.goOn = false;
    log.clear();
    EXPECT_NO_THROW(chain.Fire());
    EXPECT_EQ(log, "A(no sender);");
    EXPECT_EQ(policy.seen, "failed in A;failed in A;");
}
TEST_F(CodeMethodChainRaising, RaisingHandlerIsReported)
{
    policy.raise = true;
    chain.ExceptionHandler = MakeDelegate<&TErrorPolicy::Handle>(&policy);
    try {
        chain.Fire();
        ADD_FAILURE();
    } catch (const ECodeMethodChain& e) {
        EXPECT_STREQ(e.what(),
                     "TCodeNotifyEventChain.DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
    }
}
TEST(CodeMethodChain, MethodRemovingItselfWhileFiringSkipsNobody)
{
    std::string log;
    TObject sender;
    TCodeNotifyEventChain chain(&sender);
    TListener a{&log, "A"}, b{&log, "B"}, c{&log, "C"};
    a.chain = &chain;
    for (TListener* l : {&a, &b, &c}) {
        chain.Add(MakeDelegate<&TListener::Notify>(l));
    }
    chain.Fire();
    EXPECT_EQ(log, "A;B;C;");
    log.clear();
    chain.Fire();
    EXPECT_EQ(log, "B;C;");
}

} // namespace

#include "platform/core/Delegate.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TListener {
    std::string log;
    void Hit(int n) { log += "hit" + std::to_string(n) + ";"; }
    void Other(int n) { log += "other" + std::to_string(n) + ";"; }
    int Twice(int n) const { return 2 * n; }
    void Zero(int& key) { key = 0; }
};

int Triple(int n) { return 3 * n; }

TEST(Delegate, EmptyDelegateIsFalseAndEqualToNull)
{
    TDelegate<void(int)> d;
    EXPECT_FALSE(d);
    EXPECT_EQ(d, TDelegate<void(int)>(nullptr));
    EXPECT_FALSE(d.AsMethod());
}

TEST(Delegate, CallsTheBoundMemberOfTheBoundObject)
{
    TListener a, b;
    auto d = MakeDelegate<&TListener::Hit>(&b);
    d(7);
    EXPECT_EQ(a.log, "");
    EXPECT_EQ(b.log, "hit7;");
}

TEST(Delegate, EqualityNeedsSameObjectAndSameMethod)
{
    TListener a, b;
    struct Case {
        TDelegate<void(int)> left, right;
        bool equal;
    } cases[] = {
        {MakeDelegate<&TListener::Hit>(&a), MakeDelegate<&TListener::Hit>(&a), true},
        {MakeDelegate<&TListener::Hit>(&a), MakeDelegate<&TListener::Hit>(&b), false},
        {MakeDelegate<&TListener::Hit>(&a), MakeDelegate<&TListener::Other>(&a), false},
        {MakeDelegate<&TListener::Hit>(&a), nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.left == c.right, c.equal);
    }
}

TEST(Delegate, ConstMembersFreeFunctionsAndReferenceArguments)
{
    const TListener a;
    EXPECT_EQ(MakeDelegate<&TListener::Twice>(&a)(21), 42);
    EXPECT_EQ(TDelegate<int(int)>::MakeFree<&Triple>()(5), 15);
    TListener b;
    int key = 65;
    MakeDelegate<&TListener::Zero>(&b)(key);
    EXPECT_EQ(key, 0);
}

TEST(Delegate, RoundTripsThroughTheUntypedForm)
{
    TListener a;
    auto d = MakeDelegate<&TListener::Hit>(&a);
    TMethod m = d.AsMethod();
    EXPECT_EQ(m.Data, &a);
    auto back = TDelegate<void(int)>::FromMethod(m);
    EXPECT_EQ(back, d);
    back(3);
    EXPECT_EQ(a.log, "hit3;");
}

} // namespace

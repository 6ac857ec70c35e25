#include "platform/core/objects/Delegate.h"

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

TEST(Delegate, CallsTheBoundMemberOfTheBoundObject)
{
    TListener a, b;
    MakeDelegate<&TListener::Hit>(&b)(7);
    EXPECT_EQ(a.log, "");
    EXPECT_EQ(b.log, "hit7;");
    TDelegate<void(int)> empty;
    EXPECT_FALSE(empty);
    EXPECT_EQ(empty, TDelegate<void(int)>(nullptr));
    EXPECT_FALSE(empty.AsMethod());
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
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].left == cases[i].right, cases[i].equal) << "case " << i;
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

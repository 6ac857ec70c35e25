#pragma once
// The text of the exception a call raises, for one-line checks of error messages:
//   EXPECT_EQ(ErrorText<EReadError>([&] { reader.ReadInteger(); }), "TBinaryReader, read type error");
// An exception of another type escapes and fails the test; no exception gives "no exception".

#include <exception>
#include <string>

template <class E = std::exception, class Fn>
std::string ErrorText(Fn&& fn)
{
    try {
        fn();
    } catch (const E& e) {
        return e.what();
    }
    return "no exception";
}

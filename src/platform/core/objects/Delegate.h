#pragma once
// Method pointers that can be compared: an object plus one of its member functions.
// Event chains need "added once" and "removed by method", which std::function cannot
// answer, so chains hold these instead.
//
//     TNotifyEvent e = MakeDelegate<&TPage::EditorChanged>(page);
//     if (e) e(sender);
//
// Two delegates are equal when they call the same member function on the same object.

#include <cstddef>
#include <utility>

class TObject;

// The untyped form of a delegate, for lists that hold methods of different types.
struct TMethod {
    void* Data = nullptr;
    void (*Code)() = nullptr;

    explicit operator bool() const { return Code != nullptr; }
    bool operator==(const TMethod&) const = default;
};

template <class Signature>
class TDelegate;

template <class R, class... Args>
class TDelegate<R(Args...)> {
public:
    using Stub = R (*)(void*, Args...);

    TDelegate() = default;
    TDelegate(std::nullptr_t) {}

    // A delegate to `Method` of `object`; `Method` may also be a const member function.
    template <auto Method, class T>
    static TDelegate Make(T* object)
    {
        return TDelegate(const_cast<void*>(static_cast<const void*>(object)), &MemberStub<T, Method>);
    }
    // A delegate to a free function (or static member); it has no object.
    template <auto Function>
    static TDelegate MakeFree()
    {
        return TDelegate(nullptr, &FreeStub<Function>);
    }

    static TDelegate FromMethod(const TMethod& method)
    {
        return TDelegate(method.Data, reinterpret_cast<Stub>(method.Code));
    }
    TMethod AsMethod() const { return TMethod{object_, reinterpret_cast<void (*)()>(stub_)}; }

    R operator()(Args... args) const { return stub_(object_, std::forward<Args>(args)...); }

    explicit operator bool() const { return stub_ != nullptr; }
    bool operator==(const TDelegate&) const = default;
    void* Object() const { return object_; }

private:
    TDelegate(void* object, Stub stub) : object_(object), stub_(stub) {}

    template <class T, auto Method>
    static R MemberStub(void* object, Args... args)
    {
        return (static_cast<T*>(object)->*Method)(std::forward<Args>(args)...);
    }
    template <auto Function>
    static R FreeStub(void*, Args... args)
    {
        return Function(std::forward<Args>(args)...);
    }

    void* object_ = nullptr;
    Stub stub_ = nullptr;
};

namespace kerfpad_detail {
template <class MemberPointer>
struct DelegateOf;
template <class C, class R, class... Args>
struct DelegateOf<R (C::*)(Args...)> {
    using Type = TDelegate<R(Args...)>;
};
template <class C, class R, class... Args>
struct DelegateOf<R (C::*)(Args...) const> {
    using Type = TDelegate<R(Args...)>;
};
} // namespace kerfpad_detail

// The delegate type follows from the member function's signature.
template <auto Method, class T>
auto MakeDelegate(T* object)
{
    using D = typename kerfpad_detail::DelegateOf<decltype(Method)>::Type;
    return D::template Make<Method>(object);
}

// The platform's notify event: a method taking the sender.
using TNotifyEvent = TDelegate<void(TObject* sender)>;

#pragma once
// The root of our object model: every class knows its name and its parent class, so
// code can ask "is this object a TGLCube?" and the class registry can create objects
// by name when a stream names their class.
//
// A class opts in with KP_CLASS(Self, Parent) in its body:
//     class TFoo : public TPersistent { KP_CLASS(TFoo, TPersistent) ... };

#include <string>

struct TClassInfo {
    const char* name;
    const TClassInfo* parent;

    bool InheritsFrom(const TClassInfo* ancestor) const
    {
        for (const TClassInfo* c = this; c; c = c->parent) {
            if (c == ancestor) {
                return true;
            }
        }
        return false;
    }
};

using TClass = const TClassInfo*;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass()
    {
        static const TClassInfo info{"TObject", nullptr};
        return &info;
    }
    virtual TClass ClassType() const { return StaticClass(); }
    std::string ClassName() const { return ClassType()->name; }
    bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }
    template <class T>
    bool Is() const { return InheritsFrom(T::StaticClass()); }
};

#define KP_CLASS(Self, Parent)                                                  \
public:                                                                         \
    static TClass StaticClass()                                                 \
    {                                                                           \
        static const TClassInfo info{#Self, Parent::StaticClass()};             \
        return &info;                                                           \
    }                                                                           \
    TClass ClassType() const override { return StaticClass(); }                 \
                                                                                \
private:

// Casts when the object is of class T or a descendant, else nullptr.
template <class T>
T* ObjectCast(TObject* object)
{
    return object && object->Is<T>() ? static_cast<T*>(object) : nullptr;
}
template <class T>
const T* ObjectCast(const TObject* object)
{
    return object && object->Is<T>() ? static_cast<const T*>(object) : nullptr;
}

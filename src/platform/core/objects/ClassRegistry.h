#pragma once
// Process-wide map from class name to class and factory, filled at start-up, so that
// streams can create objects of the class they name. Names compare case-insensitively.

#include "platform/core/objects/Object.h"

#include <functional>
#include <string_view>
#include <vector>

using TObjectFactory = std::function<TObject*()>;

// Registering a name twice keeps the first registration.
void RegisterClass(TClass cls, TObjectFactory factory);

template <class T>
void RegisterClass()
{
    RegisterClass(T::StaticClass(), [] { return static_cast<TObject*>(new T()); });
}

// nullptr when the name is unknown.
TClass GetClass(std::string_view name);
// Raises EClassNotFound "Class <name> not found" when the name is unknown.
TClass FindClass(std::string_view name);
// A new object of the named class; raises EClassNotFound when unknown or not creatable.
TObject* CreateObjectByName(std::string_view name);
void UnRegisterClass(TClass cls);
// Every registered class that is `base` or descends from it, in registration order.
std::vector<TClass> RegisteredClassesOf(TClass base);

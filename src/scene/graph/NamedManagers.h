#pragma once
// A process-wide list of manager components that other components find by class and
// name (a collision behaviour finds its manager this way after loading). Managers add
// themselves when created and remove themselves when freed.

#include "platform/core/objects/Component.h"

#include <string>

// The component's index; a component already listed keeps its index.
int AddNamedManager(TComponent* component);
void RemoveNamedManager(TComponent* component);
// The first listed component of the class (or a descendant) with exactly this name.
TComponent* FindNamedManager(TClass managerClass, const std::string& name);

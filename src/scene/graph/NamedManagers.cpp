#include "scene/graph/NamedManagers.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TComponent*>& Managers()
{
    static std::vector<TComponent*> managers;
    return managers;
}

} // namespace

int AddNamedManager(TComponent* component)
{
    auto& managers = Managers();
    const auto it = std::find(managers.begin(), managers.end(), component);
    if (it != managers.end()) {
        return static_cast<int>(it - managers.begin());
    }
    managers.push_back(component);
    return static_cast<int>(managers.size()) - 1;
}

void RemoveNamedManager(TComponent* component)
{
    auto& managers = Managers();
    managers.erase(std::remove(managers.begin(), managers.end(), component), managers.end());
}

TComponent* FindNamedManager(TClass managerClass, const std::string& name)
{
    for (TComponent* c : Managers()) {
        if (c->InheritsFrom(managerClass) && c->Name() == name) {
            return c;
        }
    }
    return nullptr;
}

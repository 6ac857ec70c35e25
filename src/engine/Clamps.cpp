#include "engine/Clamps.h"

#include "engine/ArgumentNumbers.h"
#include "engine/EngineErrors.h"
#include "platform/core/text/StringUtils.h"
#include "scene/materials/Material.h"
#include "scene/objects/collision/Collision.h"
#include "scene/objects/shapes/Cubes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr TVector ClampColor{1.0f, 0.0f, 1.0f, 1.0f};

// Elements 1 to 7 with a trailing "'" comment cut off (it may have spread over later
// elements when it held commas).
std::array<std::string, 8> ClampFields(const TArrayofCmds& cmds)
{
    std::array<std::string, 8> fields;
    for (int i = 1; i <= 7; ++i) {
        const std::size_t quote = cmds[i].find('\'');
        fields[std::size_t(i)] = Trim(std::string_view(cmds[i]).substr(0, quote));
        if (quote != std::string::npos) {
            break;
        }
    }
    return fields;
}

constexpr const char* FieldNames[8] = {"", "name", "x", "y", "z", "width", "height", "depth"};

// Field i (2 to 7) as a number the box can hold; a message naming the field otherwise.
float ClampNumber(const std::string& text, int i)
{
    const std::string field = std::string("The [CLAMP] line's ") + FieldNames[i];
    if (text.empty()) {
        throw EConvertError(field + " is missing");
    }
    double value = 0;
    if (!ReadArgumentNumber(text, value)) {
        throw EConvertError(field + " \"" + text + "\" is not a number");
    }
    // Beyond single precision the box would stand at infinity.
    const auto number = static_cast<float>(value);
    if (!std::isfinite(number)) {
        throw EConvertError(field + " \"" + text + "\" is out of range");
    }
    return number;
}

} // namespace

TClampList::~TClampList()
{
    for (const TClampRec& clamp : FItems) {
        RemoveFreeNotification(clamp.Cube);
        if (!clamp.Cube->Parent()) {
            delete clamp.Cube;
        }
    }
}

TClampRec& TClampList::Add(const TArrayofCmds& cmds, TGLBaseSceneObject* parent, TCollisionManager* manager)
{
    const std::array<std::string, 8> fields = ClampFields(cmds);
    float numbers[6];
    for (int i = 2; i <= 7; ++i) {
        if (cmds.Failed(i)) {
            throw EArgumentFailed(cmds[i], cmds.ErrorOf(i));
        }
        numbers[i - 2] = ClampNumber(fields[std::size_t(i)], i);
    }

    // A child of the parent but owned by no component: an owner tells every component
    // it owns of each one added or removed, which would make a run of many clamp lines
    // cost the square of their number. The parent frees its children all the same.
    auto* cube = new TGLCube();
    if (parent) {
        parent->AddChild(cube);
    }
    cube->SetHint(fields[1]);
    cube->Position().SetPoint(numbers[0], numbers[1], numbers[2]);
    cube->SetCubeWidth(numbers[3]);
    cube->SetCubeHeight(numbers[4]);
    cube->SetCubeDepth(numbers[5]);
    TGLFaceProperties& front = *cube->Material().FrontProperties();
    front.SetPolygonMode(pmLines);
    front.Ambient()->SetColor(ClampColor);
    front.Diffuse()->SetColor(ClampColor);
    front.Emission()->SetColor(ClampColor);

    auto* collision = CreateXCollectionItem<TGLBCollision>(&cube->Behaviours());
    collision->BoundingMode = cbmCube;
    collision->SetManager(manager);

    FreeNotification(cube);
    FItems.push_back({cube, false});
    return FItems.back();
}

void TClampList::Free()
{
    // Taken out first: each delete notifies this list. The last first, so that every
    // box is the last child of its parent and the last client of its manager.
    std::vector<TClampRec> items;
    items.swap(FItems);
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        RemoveFreeNotification(it->Cube);
        delete it->Cube;
    }
}

void TClampList::Truncate(int count)
{
    while (Count() > std::max(count, 0)) {
        TGLCube* cube = FItems.back().Cube;
        FItems.pop_back();
        RemoveFreeNotification(cube);
        delete cube;
    }
}

TClampRec* TClampList::FindByHint(const std::string& hint)
{
    for (TClampRec& clamp : FItems) {
        if (clamp.Cube->Hint() == hint) {
            return &clamp;
        }
    }
    return nullptr;
}

void TClampList::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove) {
        std::erase_if(FItems, [component](const TClampRec& clamp) { return clamp.Cube == component; });
    }
    TComponent::Notification(component, operation);
}

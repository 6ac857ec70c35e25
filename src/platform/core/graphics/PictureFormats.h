#pragma once
// The picture file formats the program can read, each as extension, description and
// the TGraphic class that reads it. Libraries register their formats at start-up (the
// scene its JPEG reader, platform/gui the formats Qt reads); the list can be walked.

#include "platform/core/graphics/Graphics.h"

#include <string>
#include <string_view>
#include <vector>

struct TPictureFormat {
    std::string Extension;   // without the dot, as registered
    std::string Description;
    TClass GraphicClass = nullptr;
    TGraphic* (*Create)() = nullptr; // a new, empty picture of that class
};

// Appends a format; a lookup finds the first registration of an extension.
void RegisterPictureFormat(std::string_view extension, std::string_view description, TClass graphicClass,
                           TGraphic* (*create)());

template <class T>
void RegisterPictureFormat(std::string_view extension, std::string_view description)
{
    RegisterPictureFormat(extension, description, T::StaticClass(), [] { return static_cast<TGraphic*>(new T()); });
}

void UnregisterPictureFormats(TClass graphicClass);
const std::vector<TPictureFormat>& PictureFormats();

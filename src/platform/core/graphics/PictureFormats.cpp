#include "platform/core/graphics/PictureFormats.h"

#include <algorithm>

namespace {

std::vector<TPictureFormat>& Formats()
{
    static std::vector<TPictureFormat> formats;
    return formats;
}

} // namespace

void RegisterPictureFormat(std::string_view extension, std::string_view description, TClass graphicClass,
                           TGraphic* (*create)())
{
    Formats().push_back(TPictureFormat{std::string(extension), std::string(description), graphicClass, create});
}

void UnregisterPictureFormats(TClass graphicClass)
{
    auto& formats = Formats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [&](const TPictureFormat& f) { return f.GraphicClass == graphicClass; }),
                  formats.end());
}

const std::vector<TPictureFormat>& PictureFormats()
{
    return Formats();
}

#pragma once
// The pictures of the tool bar and the menus, one per image index of the actions,
// drawn here in code at 16 x 16 pixels. An index without a picture gives an empty icon.

#include <QIcon>
#include <QImage>

inline constexpr int ToolbarImageSize = 16;

// The picture of an image index; a null image for an index without one.
QImage ToolbarPicture(int index);
QIcon ToolbarImage(int index);

#pragma once
// The main window's scene drawn into a memory viewer of a preview's size, as the preview
// panel at that size draws it: the focal length it gives, its background, and two
// frames, so that the second comes from the copy of the scene without its bit, as every
// frame of a standing view does.

#include "app/run/Navigation.h"
#include "app/settings/PreviewOptions.h"
#include "app/shell/MainForm.h"
#include "scene/graph/Camera.h"
#include "scene/graph/NonVisualViewer.h"

struct TViewSize {
    int Width;
    int Height;
};

inline void DrawAsThePreview(TGLMemoryViewer& viewer, TMainForm& window, const TViewSize& size, TGLCamera* camera)
{
    window.Scene->GLCamera1->SetFocalLength(FocalLengthFor(size.Width, size.Height));
    viewer.SetWidth(size.Width);
    viewer.SetHeight(size.Height);
    viewer.Buffer().SetBackgroundColor(TPreviewOptions().BackgroundColor);
    viewer.SetCamera(camera);
    viewer.Render();
    viewer.Render();
}

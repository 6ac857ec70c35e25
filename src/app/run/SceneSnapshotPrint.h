#pragma once
// Printing the 3D view: a snapshot of the viewer's last frame stretched over the
// printable area of a landscape page, one page per job.

#include <QImage>

class QPrinter;
class TGLWorldBuffer;

// The buffer's frame as an image (read back, turned into a platform bitmap, then into
// a QImage); empty without a context.
QImage SceneSnapshotImage(TGLWorldBuffer& buffer);
// Prints the frame over the printable area scaled by `scale` (1 fills it) on `printer`,
// turned to landscape. Raises EPrinter naming the printer when the job cannot begin.
void PrintSceneSnapshot(TGLWorldBuffer& buffer, QPrinter& printer, double scale = 1.0);

// The wait cursor while it lives.
class TWaitCursor {
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

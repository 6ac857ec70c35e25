#pragma once
// What the unit tests of the drawn objects share: the recording OpenGL table with a
// GLU quadric that is not null (the recorder answers every query with 0), texture
// coordinates routed to the recorded entry points, and a render context with a state
// cache.

#include "scene/rendering/GLStateCache.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

namespace scenetest {

inline GLUquadric* APIENTRY RecordedNewQuadric()
{
    static int dummy = 0;
    TGLCall call;
    call.Name = "gluNewQuadric";
    call.Text = "gluNewQuadric()";
    TGLRecorder::Current()->Record(std::move(call));
    return reinterpret_cast<GLUquadric*>(&dummy);
}

class ObjectRecording : public ::testing::Test {
protected:
    ObjectRecording()
    {
        GL.gluNewQuadric = RecordedNewQuadric;
        MapTexCoordNowhere();
        MapTexCoordToUnit0();
        rci.GLStates = &states;
        recorder.Clear();
    }
    ~ObjectRecording() override { MapTexCoordNowhere(); }

    TGLRecorder recorder;
    TGLStateCache states;
    TRenderContextInfo rci;
};

} // namespace scenetest

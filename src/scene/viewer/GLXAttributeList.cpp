#include "scene/viewer/GLXAttributeList.h"

#include <GL/glx.h>

#ifndef GLX_RGBA_FLOAT_BIT_ARB
#define GLX_RGBA_FLOAT_BIT_ARB 0x00000004
#endif

int TGLXAttributeList::Find(int attribute) const
{
    // Pairs only: a value that equals an attribute name must not match.
    for (std::size_t i = 0; i + 1 < FValues.size(); i += 2) {
        if (FValues[i] == attribute) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TGLXAttributeList::Add(int attribute, int value)
{
    FValues.insert(FValues.end() - 1, {attribute, value});
}

void TGLXAttributeList::Change(int attribute, int value)
{
    const int i = Find(attribute);
    if (i >= 0) {
        FValues[i + 1] = value;
    } else {
        Add(attribute, value);
    }
}

void TGLXAttributeList::Drop(int attribute)
{
    const int i = Find(attribute);
    if (i >= 0) {
        FValues.erase(FValues.begin() + i, FValues.begin() + i + 2);
    }
}

int TGLXAttributeList::Value(int attribute, int fallback) const
{
    const int i = Find(attribute);
    return i >= 0 ? FValues[i + 1] : fallback;
}

void SetColorBits(TGLXAttributeList& list, int colorBits)
{
    int channel = 1;
    if (colorBits >= 64) {
        channel = colorBits / 4;
    } else if (colorBits >= 24) {
        channel = 8;
    } else if (colorBits >= 15) {
        channel = 5;
    } else if (colorBits >= 3) {
        channel = colorBits / 3;
    }
    list.Change(GLX_RED_SIZE, channel);
    list.Change(GLX_GREEN_SIZE, channel);
    list.Change(GLX_BLUE_SIZE, channel);
}

int ChooseFramebufferConfig(TGLXAttributeList& list, const TGLXFramebufferRequest& request, const TGLXChooser& choose)
{
    // Conformant configurations stand for the accelerated ones.
    list.Add(GLX_CONFIG_CAVEAT, GLX_NONE);
    const bool floatColor = request.ColorBits == 64 || request.ColorBits == 128;
    if (floatColor && request.FloatSupported) {
        list.Add(GLX_RENDER_TYPE, GLX_RGBA_FLOAT_BIT_ARB);
    } else {
        list.Add(GLX_RENDER_TYPE, GLX_RGBA_BIT);
    }
    SetColorBits(list, request.ColorBits);
    if (request.AlphaBits > 0) {
        list.Add(GLX_ALPHA_SIZE, request.AlphaBits);
    }
    list.Add(GLX_DEPTH_SIZE, request.DepthBits);
    if (request.StencilBits > 0) {
        list.Add(GLX_STENCIL_SIZE, request.StencilBits);
    }
    if (request.AccumBits > 0) {
        const int each = request.AccumBits / 4;
        list.Add(GLX_ACCUM_RED_SIZE, each);
        list.Add(GLX_ACCUM_GREEN_SIZE, each);
        list.Add(GLX_ACCUM_BLUE_SIZE, each);
        list.Add(GLX_ACCUM_ALPHA_SIZE, each);
    }
    if (request.AuxBuffers > 0) {
        list.Add(GLX_AUX_BUFFERS, request.AuxBuffers);
    }
    if (request.AntiAliasing != aaDefault && request.MultisampleSupported) {
        if (request.AntiAliasing == aaNone) {
            list.Add(GLX_SAMPLE_BUFFERS, 0);
        } else {
            list.Add(GLX_SAMPLE_BUFFERS, 1);
            const bool four = request.AntiAliasing == aa4x || request.AntiAliasing == aa4xHQ;
            list.Add(GLX_SAMPLES, four ? 4 : 2);
        }
    }

    int count = choose(list);
    if (count == 0 && request.AntiAliasing != aaDefault) {
        list.Drop(GLX_SAMPLE_BUFFERS);
        list.Drop(GLX_SAMPLES);
    }
    if (count == 0 && request.DepthBits >= 32) {
        list.Change(GLX_DEPTH_SIZE, 24);
        count = choose(list);
    }
    if (count == 0 && request.DepthBits >= 24) {
        list.Change(GLX_DEPTH_SIZE, 16);
        count = choose(list);
    }
    if (count == 0 && request.ColorBits >= 24) {
        SetColorBits(list, 16);
        count = choose(list);
    }
    if (count == 0) {
        SetColorBits(list, request.ColorBits);
        list.Change(GLX_DEPTH_SIZE, request.DepthBits);
        list.Drop(GLX_CONFIG_CAVEAT);
        count = choose(list);
    }
    return count;
}

#pragma once
// The integer attribute list handed to glXChooseFBConfig (pairs of attribute and value
// ended by a single 0), and the choice of a framebuffer configuration with the fallback
// chain of requests: without sample buffers, with less depth, with 16-bit colour, and
// finally without asking for a conformant (accelerated) configuration.

#include "scene/rendering/GLContext.h"

#include <functional>
#include <vector>

class TGLXAttributeList {
public:
    TGLXAttributeList() { Clear(); }

    void Clear() { FValues.assign(1, 0); }
    // Places the pair before the terminator.
    void Add(int attribute, int value);
    // Replaces the value of the first pair with that attribute, or adds the pair.
    void Change(int attribute, int value);
    // Removes the first pair with that attribute.
    void Drop(int attribute);
    // The value of the first pair with that attribute, or `fallback`.
    int Value(int attribute, int fallback = -1) const;
    bool Has(int attribute) const { return Find(attribute) >= 0; }

    const int* Data() const { return FValues.data(); }
    const std::vector<int>& Values() const { return FValues; }

private:
    int Find(int attribute) const;
    std::vector<int> FValues;
};

// What the framebuffer must offer, taken from a context's requests.
struct TGLXFramebufferRequest {
    int ColorBits = 32;
    int AlphaBits = 0;
    int DepthBits = 0;
    int StencilBits = 0;
    int AccumBits = 0;
    int AuxBuffers = 0;
    TGLAntiAliasing AntiAliasing = aaDefault;
    bool MultisampleSupported = false; // GLX_ARB_multisample
    bool FloatSupported = false;       // GLX_ARB_fbconfig_float
};

// Sets red, green and blue to the smallest sizes that give `colorBits` (alpha not
// counted): 8 each from 24 bits, 5 each from 15, 16 and 32 each for 64 and 128.
void SetColorBits(TGLXAttributeList& list, int colorBits);

// Returns how many configurations match the list (0 when none).
using TGLXChooser = std::function<int(const TGLXAttributeList& attributes)>;

// Appends the request to `list` (which holds the drawable-type attributes already),
// then chooses through the fallback chain. Returns the count of the last choice; the
// list then holds the attributes that chose.
int ChooseFramebufferConfig(TGLXAttributeList& list, const TGLXFramebufferRequest& request, const TGLXChooser& choose);

#pragma once
// The one process-wide cache of glyph display-list blocks, shared by every 3D text:
// one block per font name (letter case ignored), style, extrusion, allowed deviation
// and character range, with a reference count and the list of texts using it.

#include "platform/core/graphics/Font.h"
#include "platform/core/objects/Object.h"
#include "scene/rendering/GLContext.h"
#include "scene/objects/text/GlyphOutline.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// A user of font entries. The manager tells it when the entry it holds is no longer
// there for it (released, or the manager is going away); it must forget the entry.
class TFontManagerClient {
public:
    virtual void FontEntryReleased() = 0;

protected:
    ~TFontManagerClient() = default;
};

struct TFontEntry {
    std::string Name;
    // Holds the first name of the block of lists; 0 while there is no block.
    std::unique_ptr<TGLVirtualHandle> FontBase;
    TFontStyles Styles = 0;
    float Extrusion = 0;
    int RefCount = 0;
    float AllowedDeviation = 0;
    int FirstChar = 0;
    int LastChar = 0;
    // Entry k describes character FirstChar + k.
    std::array<TGlyphMetricsFloat, 256> GlyphMetrics{};
    std::vector<TFontManagerClient*> Clients;

    int ListCount() const { return LastChar - FirstChar + 1; }
    GLuint ListBase() const { return FontBase ? FontBase->Handle() : 0; }
};

class TFontManager : public TObject {
    KP_CLASS(TFontManager, TObject)
public:
    TFontManager() = default;
    // Frees every block and tells every client.
    ~TFontManager() override;

    int Count() const { return static_cast<int>(entries_.size()); }
    TFontEntry* Items(int index) const { return entries_[index].get(); }

    TFontEntry* FindFont(const std::string& name, TFontStyles style, float extrusion, float allowedDeviation,
                         int firstChar, int lastChar) const;
    // The entry to draw with, its lists built when they are missing; every call takes
    // one reference for the client. Raises EGLWorldFontError "FontManager: no more
    // display lists available" or "FontManager: font creation failed"; a failed call
    // takes no reference and leaves no half-built block behind.
    TFontEntry* GetFontBase(const std::string& name, TFontStyles style, float extrusion, float allowedDeviation,
                            int firstChar, int lastChar, TFontManagerClient* client);
    // Gives back one reference; the client (when given) is told and leaves the entry.
    // At no references left the block is freed and the entry removed. nullptr does
    // nothing.
    void Release(TFontEntry* entry, TFontManagerClient* client);
    void NotifyClients(const std::vector<TFontManagerClient*>& clients);

    // The first name of the most recently generated block.
    GLuint LastBaseList() const { return lastBase_; }

private:
    void BuildLists(TFontEntry& entry);
    void Remove(TFontEntry* entry);

    std::vector<std::unique_ptr<TFontEntry>> entries_;
    GLuint lastBase_ = 0;
};

class EGLWorldFontError : public Exception {
    using Exception::Exception;
};

// The single manager, made on first use.
TFontManager* GetFontManager();
// Frees the manager (at shutdown, or between tests); the next GetFontManager makes a
// new one.
void ReleaseFontManager();

#include "scene/objects/text/FontManager.h"

#include "platform/core/Assert.h"
#include "platform/core/text/StringUtils.h"
#include "scene/objects/text/GlyphLists.h"

#include <algorithm>

namespace {

std::unique_ptr<TFontManager>& ManagerInstance()
{
    static std::unique_ptr<TFontManager> instance;
    return instance;
}

} // namespace

TFontManager* GetFontManager()
{
    auto& instance = ManagerInstance();
    if (!instance) {
        instance = std::make_unique<TFontManager>();
    }
    return instance.get();
}

void ReleaseFontManager()
{
    ManagerInstance().reset();
}

TFontManager::~TFontManager()
{
    // Taken out first, so that a client reacting to the news finds no entry to touch.
    std::vector<std::unique_ptr<TFontEntry>> entries = std::move(entries_);
    for (auto& entry : entries) {
        entry->FontBase.reset();
        NotifyClients(entry->Clients);
    }
}

TFontEntry* TFontManager::FindFont(const std::string& name, TFontStyles style, float extrusion,
                                   float allowedDeviation, int firstChar, int lastChar) const
{
    for (const auto& entry : entries_) {
        if (SameText(entry->Name, name) && entry->Styles == style && entry->Extrusion == extrusion &&
            entry->AllowedDeviation == allowedDeviation && entry->FirstChar == firstChar &&
            entry->LastChar == lastChar) {
            return entry.get();
        }
    }
    return nullptr;
}

TFontEntry* TFontManager::GetFontBase(const std::string& name, TFontStyles style, float extrusion,
                                      float allowedDeviation, int firstChar, int lastChar,
                                      TFontManagerClient* client)
{
    // Metrics have room for 256 characters; a wider or reversed range has no block.
    if (firstChar < 0 || lastChar < firstChar || lastChar - firstChar >= 256) {
        throw EGLWorldFontError("FontManager: font creation failed");
    }
    TFontEntry* entry = FindFont(name, style, extrusion, allowedDeviation, firstChar, lastChar);
    bool clientAdded = false;
    if (entry) {
        ++entry->RefCount;
        if (client && std::find(entry->Clients.begin(), entry->Clients.end(), client) == entry->Clients.end()) {
            entry->Clients.push_back(client);
            clientAdded = true;
        }
        if (entry->ListBase() != 0) {
            return entry;
        }
    } else {
        auto created = std::make_unique<TFontEntry>();
        created->Name = name;
        created->Styles = style;
        created->Extrusion = extrusion;
        created->AllowedDeviation = allowedDeviation;
        created->FirstChar = firstChar;
        created->LastChar = lastChar;
        created->RefCount = 1;
        if (client) {
            created->Clients.push_back(client);
            clientAdded = true;
        }
        entry = created.get();
        entries_.push_back(std::move(created));
    }
    try {
        BuildLists(*entry);
    } catch (...) {
        // This call's reference goes back; an entry nobody holds is dropped.
        --entry->RefCount;
        if (clientAdded) {
            entry->Clients.erase(std::find(entry->Clients.begin(), entry->Clients.end(), client));
        }
        if (entry->RefCount <= 0) {
            Remove(entry);
        }
        throw;
    }
    return entry;
}

void TFontManager::BuildLists(TFontEntry& entry)
{
    const int count = entry.ListCount();
    if (!entry.FontBase) {
        entry.FontBase = std::make_unique<TGLVirtualHandle>();
        entry.FontBase->OnAllocate = [this](TGLVirtualHandle*, GLuint& handle) { handle = lastBase_; };
        entry.FontBase->OnDestroy = [count](TGLVirtualHandle*, GLuint& handle) {
            if (handle != 0) {
                GL.glDeleteLists(handle, count);
            }
        };
    }
    const GLuint base = GL.glGenLists(count);
    if (base == 0) {
        throw EGLWorldFontError("FontManager: no more display lists available");
    }
    lastBase_ = base;
    TGLVirtualHandle& handle = *entry.FontBase;
    try {
        handle.AllocateHandle();
    } catch (...) {
        GL.glDeleteLists(base, count);
        throw;
    }
    TGlyphOutlineProvider* provider = GlyphOutlineProvider();
    if (!provider || !BuildGlyphOutlineLists(*provider, entry.Name, entry.Styles, entry.FirstChar, count, base,
                                             entry.AllowedDeviation, entry.Extrusion, entry.GlyphMetrics.data())) {
        // No half-built block may pass for a good one on the next request.
        handle.DestroyHandle();
        throw EGLWorldFontError("FontManager: font creation failed");
    }
}

void TFontManager::Release(TFontEntry* entry, TFontManagerClient* client)
{
    if (!entry) {
        return;
    }
    KP_ASSERT(std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.get() == entry; }));
    --entry->RefCount;
    if (client) {
        client->FontEntryReleased();
        const auto it = std::find(entry->Clients.begin(), entry->Clients.end(), client);
        if (it != entry->Clients.end()) {
            entry->Clients.erase(it);
        }
    }
    if (entry->RefCount <= 0) {
        entry->FontBase.reset();
        const std::vector<TFontManagerClient*> remaining = std::move(entry->Clients);
        Remove(entry);
        NotifyClients(remaining);
    }
}

void TFontManager::NotifyClients(const std::vector<TFontManagerClient*>& clients)
{
    for (TFontManagerClient* client : clients) {
        client->FontEntryReleased();
    }
}

void TFontManager::Remove(TFontEntry* entry)
{
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.get() == entry; });
    if (it != entries_.end()) {
        entries_.erase(it);
    }
}

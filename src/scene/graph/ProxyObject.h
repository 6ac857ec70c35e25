#pragma once
// Draws another object (its master) in its own place: a second copy of a shape without
// a second copy of its data. Bounds and ray tests are the master's, carried through the
// proxy's placement.

#include "scene/graph/SceneObject.h"

enum TGLProxyObjectOption : std::uint8_t { pooEffects, pooObjects, pooTransformation };
using TGLProxyObjectOptions = std::uint8_t; // bit n for option n
constexpr TGLProxyObjectOptions ProxyOptionBit(TGLProxyObjectOption option)
{
    return TGLProxyObjectOptions(1u << option);
}
constexpr TGLProxyObjectOptions AllProxyOptions = 0x07;

class TGLProxyObject : public TGLBaseSceneObject {
    KP_CLASS(TGLProxyObject, TGLBaseSceneObject)
public:
    explicit TGLProxyObject(TComponent* owner = nullptr);
    ~TGLProxyObject() override;

    TGLBaseSceneObject* MasterObject() const { return master_; }
    // Follows the master's destruction: a freed master leaves the proxy without one.
    virtual void SetMasterObject(TGLBaseSceneObject* value);
    TGLProxyObjectOptions ProxyOptions() const { return options_; }
    void SetProxyOptions(TGLProxyObjectOptions value);

    // From another proxy: the master; then the base part.
    void Assign(const TPersistent* source) override;
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    TVector UnscaledHalfExtents() const override;
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TGLBaseSceneObject* master_ = nullptr;
    TGLProxyObjectOptions options_ = AllProxyOptions;
    // Set while rendering, so a proxy inside its own master stops at the second visit.
    bool rendering_ = false;
};

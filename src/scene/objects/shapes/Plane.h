#pragma once
// A rectangle in the object's XY plane, facing +Z, with tiled and offset texture
// coordinates: one quad, or rows of strips (one per tile row) when the texture is
// tiled without the single quad. Drawn directly every frame (no display list).

#include "scene/graph/CustomSceneObject.h"

#include <cstdint>

enum TPlaneStyle : std::uint8_t { psSingleQuad = 1, psTileTexture = 2 };
using TPlaneStyles = std::uint8_t; // TPlaneStyle bits

class TGLPlane : public TGLWorldObject {
    KP_CLASS(TGLPlane, TGLWorldObject)
public:
    explicit TGLPlane(TComponent* owner = nullptr);

    float Width() const { return width_; }
    float Height() const { return height_; }
    float XOffset() const { return xOffset_; }
    float YOffset() const { return yOffset_; }
    float XScope() const { return xScope_; }
    float YScope() const { return yScope_; }
    std::uint32_t XTiles() const { return xTiles_; }
    std::uint32_t YTiles() const { return yTiles_; }
    TPlaneStyles Style() const { return style_; }
    bool NoZWrite() const { return noZWrite_; }
    // Each rebuilds the drawing when the value changes. Scopes above 1 become 1; tile
    // counts below 1 become 1 (the strips divide by them).
    void SetWidth(float value);
    void SetHeight(float value);
    void SetXOffset(float value);
    void SetYOffset(float value);
    void SetXScope(float value);
    void SetYScope(float value);
    void SetXTiles(std::uint32_t value);
    void SetYTiles(std::uint32_t value);
    void SetStyle(TPlaneStyles value);
    // Depth writes off while the plane is drawn.
    void SetNoZWrite(bool value) { noZWrite_ = value; }

    // From a plane: Width and Height only; then the custom-object part.
    void Assign(const TPersistent* source) override;
    TVector UnscaledHalfExtents() const override;
    // From either side; the normal is the object's direction for a ray from the front,
    // its negation for a ray from behind. Edges count as hits.
    bool RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint = nullptr,
                          TVector* intersectNormal = nullptr) override;
    // The four corners and edges; two triangles when capped.
    std::unique_ptr<TGLSilhouette> GenerateSilhouette(const TGLSilhouetteParameters& params) override;
    void BuildList(TRenderContextInfo& rci) override;

private:
    float width_ = 1.0f;
    float height_ = 1.0f;
    float xOffset_ = 0;
    float yOffset_ = 0;
    float xScope_ = 1.0f;
    float yScope_ = 1.0f;
    std::uint32_t xTiles_ = 1;
    std::uint32_t yTiles_ = 1;
    TPlaneStyles style_ = psSingleQuad | psTileTexture;
    bool noZWrite_ = false;
};

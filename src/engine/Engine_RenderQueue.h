#pragma once

#include "core/Core_PoolAllocator.h"
#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "engine/Engine_RenderItem.h"
#include "engine/Engine_ScreenObject.h"
#include "engine/Engine_TextRenderContext.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ParticleEffect.h"

#include <cstdint>
#include <vector>

namespace Engine {
class Camera;
}

// Collects what one viewport draws (items, backgrounds) and what the GUI
// draws once a frame (screen objects), files each by how it is drawn, and
// draws the lists on Flush. One per scene graph; submitters reach the most
// recently constructed queue still alive through GetInstance. Storage is
// kept from frame to frame, so a steady scene stops allocating.
class RenderQueue {
public:
    RenderQueue();
    ~RenderQueue();
    RenderQueue(const RenderQueue&) = delete;
    RenderQueue& operator=(const RenderQueue&) = delete;

    // Null when no queue is alive.
    static RenderQueue* GetInstance();

    void SetRenderer(Renderer::IRenderer* renderer) { m_renderer = renderer; }
    void SetCamera(const Core::RefPtr<Engine::Camera>& camera);

    // Files the item, after putting the queue's effect and mesh into the
    // caller's record for sprite and particle items. Dropped: a screen-space
    // item outside the last viewport, a vertex-array item that is neither
    // points nor lines, an item naming a sub-range its mesh lacks.
    void Submit(RenderItem& item);
    // The same for a record the caller is done with: it is moved into the
    // queue instead of copied.
    void Submit(RenderItem&& item);
    // Files a sprite item made in place, for a submitter that has its
    // values at hand: the record in the list, as Submit would file a sprite
    // item (the queue's effect and mesh, sub-range 0, the flags), for the
    // caller to fill in before anything else is submitted; null when Submit
    // would drop it.
    RenderItem* FileSprite(bool screenSpace);
    // Queues a copy of a context that has a texture, with the queue's
    // background effect put into the caller's context.
    void SubmitBackground(Engine::TextRenderContext& context);
    // Queues a drawable object for this frame's screen-space pass.
    void SubmitScreenObject(const Core::RefPtr<Engine::ScreenObject>& object);
    void ClearScreenObjects() { m_screenObjects.clear(); }

    // Draws the viewport's backgrounds, opaque items grouped by state, blended
    // items back to front and, in the last viewport, the overlay.
    void Flush();
    // Empties the viewport's lists; the overlay only after the last viewport.
    void EndFrame();
    // Draws the screen objects nearest last in window pixels, then drops them.
    void DrawScreenObjects();

    std::size_t GetOpaqueCount() const { return m_opaque.size(); }
    std::size_t GetBlendedCount() const { return m_blended.size(); }
    std::size_t GetOverlayCount() const { return m_overlay.size(); }
    std::size_t GetBackgroundCount() const { return m_backgrounds.size(); }
    std::size_t GetScreenObjectCount() const { return m_screenObjects.size(); }
    const Core::RefPtr<Renderer::Effect>& GetColorEffect() const { return m_colorEffect; }
    const Core::RefPtr<Renderer::Effect>& GetColorEffectSecond() const { return m_colorEffectSecond; }
    const Core::RefPtr<Renderer::Effect>& GetColoredTexturedEffect() const { return m_coloredTexturedEffect; }
    const Core::RefPtr<Renderer::Effect>& GetTextureDepthEffect() const { return m_textureDepthEffect; }
    const Core::RefPtr<Renderer::ParticleEffect>& GetParticleEffect() const { return m_particleEffect; }
    const Core::RefPtr<Engine::Mesh>& GetSpriteQuad() const { return m_spriteQuad; }

    // The viewport being drawn is the frame's last (always so without a
    // current scene graph; a count of 0 counts as one viewport).
    static bool IsLastViewport();

private:
    // The submission number breaks ties, so that equal keys keep their order.
    struct Filed {
        RenderItem item;
        std::uint32_t order;
    };
    struct FiledScreenObject {
        Core::RefPtr<Engine::ScreenObject> object;
        std::uint32_t order;
    };
    using ItemList = std::vector<Filed, Core::PoolAllocator<Filed>>;

    // A sprite's list: the blended one, or in screen space the overlay of
    // the last viewport; null in another viewport's screen space.
    ItemList* SpriteList(bool screenSpace);
    // The list Submit files the item into, after putting the queue's effect
    // and mesh into it; null when the item is dropped.
    ItemList* Destination(RenderItem& item);
    // Numbers start again once nothing numbered is queued.
    void RestartNumbering();
    void DrawBackgrounds();
    void DrawItemList(ItemList& list);
    // The end of the run of sprites that starts at first: consecutive sprite
    // items of one effect and one texture drawn with the unbuffered quad.
    std::size_t SpriteRunEnd(const ItemList& list, std::size_t first) const;
    // Draws the run from corners, texture coordinates and colours computed
    // here, in draws of at most kSpritesPerDraw sprites, each but the last
    // followed by a flush so that the device starts on it while the next is
    // prepared. Leaves the last sprite's world matrix, texture matrix and
    // colour behind as drawing them one by one would.
    void DrawSpriteRun(const ItemList& list, std::size_t first, std::size_t end);
    // The corners a sprite of the run needs: one per distinct vertex of the
    // queue's quad, with the quad's indices into them repeated for a whole
    // draw (16-bit: a draw starts its corners afresh).
    void PrepareSpriteCorners();
    // Fills the corner arrays for the sprites of the run; true when one
    // colour is shared by all of them.
    bool PlaceSpriteCorners(const ItemList& list, std::size_t first, std::size_t end);
    static void SortByDepth(ItemList& list);
    void DrawOverlayItems();

    Renderer::IRenderer* m_renderer = nullptr;
    Core::RefPtr<Engine::Camera> m_camera;
    ItemList m_opaque;
    ItemList m_overlay;
    ItemList m_blended;
    std::vector<FiledScreenObject, Core::PoolAllocator<FiledScreenObject>> m_screenObjects;
    std::vector<Engine::TextRenderContext, Core::PoolAllocator<Engine::TextRenderContext>> m_backgrounds;
    Core::RefPtr<Renderer::Effect> m_colorEffect;
    Core::RefPtr<Renderer::Effect> m_colorEffectSecond;
    Core::RefPtr<Renderer::Effect> m_coloredTexturedEffect;
    Core::RefPtr<Renderer::Effect> m_textureDepthEffect;
    Core::RefPtr<Renderer::ParticleEffect> m_particleEffect;
    Core::RefPtr<Engine::Mesh> m_spriteQuad;
    static constexpr std::size_t kSpritesPerDraw = 2048;
    // The distinct corners of the sprite quad (quad vertex numbers) and, per
    // sprite, the quad's indices as corner numbers.
    std::vector<std::uint32_t> m_quadCorners;
    std::vector<std::uint16_t> m_quadIndices;
    // The quad's indices for kSpritesPerDraw sprites in a row.
    std::vector<std::uint16_t> m_drawIndices;
    // The placed corners of the sprite run being drawn, kept between frames:
    // positions (3 floats), texture coordinates (2) and colours (4).
    std::vector<float> m_runPositions;
    std::vector<float> m_runTexCoords;
    std::vector<float> m_runColors;
    std::uint32_t m_submissions = 0;
};

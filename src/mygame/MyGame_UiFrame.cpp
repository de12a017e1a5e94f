#include "mygame/MyGame_UiFrame.h"

#include "core/Core_GlobalOperators.h"

#include "mygame/MyGame_FadeStep.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_WidgetStream.h"

#include <cmath>

namespace {

// The corners sit this far inside the rectangle; the pipes leave room for
// two corners and a little overlap.
constexpr float kCornerInset = 8.0f;
constexpr float kPipeShortening = 36.0f;
// Below this summed difference the frame lands on its target.
constexpr float kSettleDistance = 0.001f;
// The glide toward the target, per second.
constexpr float kGlideRate = 8.0f;

constexpr std::array<float, UiFrame::kEdges> kPipeAngles{90.0f, 0.0f, 90.0f, 0.0f};
constexpr std::array<float, UiFrame::kEdges> kCornerAngles{90.0f, 0.0f, 270.0f, 180.0f};

void Place(Tundra::Sprite* piece, float x, float y, float alpha) {
    if (piece != nullptr) {
        piece->SetPositionXY(x, y);
        piece->SetOpacity(alpha);
    }
}

void DestroyPiece(Tundra::Sprite* piece) {
    if (piece != nullptr) {
        piece->Destroy();
    }
}

void WriteRect(Core::File& file, const UiFrameRect& rect) {
    file.WriteF32(rect.left);
    file.WriteF32(rect.top);
    file.WriteF32(rect.right);
    file.WriteF32(rect.bottom);
    file.WriteF32(rect.alpha);
}

void ReadRect(Core::File& file, UiFrameRect& rect) {
    ReadFinite(file, rect.left);
    ReadFinite(file, rect.top);
    ReadFinite(file, rect.right);
    ReadFinite(file, rect.bottom);
    ReadFinite(file, rect.alpha);
}

// A piece something else destroyed is gone from the level: it is written
// as none, so that the frame reads back without it.
void WritePiece(Core::File& file, const Core::RefPtr<Tundra::Sprite>& piece) {
    file << (StaysInItsLayer(piece.Get()) ? piece.Get() : nullptr);
}

// A piece link read back: a sprite (or nothing) its layer will keep.
Core::RefPtr<Tundra::Sprite> ReadPiece(Core::File& file) {
    Core::RefPtr<Tundra::Sprite> piece;
    ReadLink(file, piece);
    return piece;
}

}  // namespace

UiFrame::UiFrame(float left, float top, float right, float bottom, float alpha)
    : m_current{left, top, right, bottom, alpha}, m_target{left, top, right, bottom, alpha} {
    m_centre = CloneTemplateToHud<Tundra::Sprite>(kFrameBGTemplate);
    for (std::size_t i = 0; i < kEdges; ++i) {
        m_pipes[i] = CloneTemplateToHud<Tundra::Sprite>(kFramePipeTemplate);
        if (m_pipes[i]) {
            m_pipes[i]->SetRotationAngle(kPipeAngles[i]);
        }
        m_corners[i] = CloneTemplateToHud<Tundra::Sprite>(kFrameCornerTemplate);
        if (m_corners[i]) {
            m_corners[i]->SetRotationAngle(kCornerAngles[i]);
        }
    }
    LayOut();
}

void UiFrame::SetRect(float left, float top, float right, float bottom, float alpha) {
    m_current = {left, top, right, bottom, alpha};
    LayOut();
}

void UiFrame::SetTargetRect(float left, float top, float right, float bottom, float alpha) {
    m_target = {left, top, right, bottom, alpha};
    m_settled = 0;
}

void UiFrame::Animate(float dt) {
    if (m_settled != 0) {
        return;
    }
    float* const values[] = {&m_current.left, &m_current.top, &m_current.right, &m_current.bottom,
                             &m_current.alpha};
    const float targets[] = {m_target.left, m_target.top, m_target.right, m_target.bottom, m_target.alpha};
    float distance = 0.0f;
    for (std::size_t i = 0; i < std::size(targets); ++i) {
        *values[i] = FadeStep(*values[i], targets[i], dt, kGlideRate);
        distance += std::fabs(targets[i] - *values[i]);
    }
    if (distance < kSettleDistance) {
        m_current = m_target;
        m_settled = 1;
    }
    LayOut();
}

void UiFrame::Destroy() {
    DestroyPiece(m_centre.Get());
    for (std::size_t i = 0; i < kEdges; ++i) {
        DestroyPiece(m_pipes[i].Get());
        DestroyPiece(m_corners[i].Get());
    }
}

void UiFrame::LayOut() {
    const auto [left, top, right, bottom, alpha] = m_current;
    const float midX = (left + right) * 0.5f;
    const float midY = (top + bottom) * 0.5f;
    if (m_centre) {
        m_centre->SetScale(right - left, top - bottom);
    }
    Place(m_centre.Get(), midX, midY, alpha);
    const std::array<Vector2D, kEdges> pipeAt{{{left, midY}, {midX, top}, {right, midY}, {midX, bottom}}};
    const std::array<Vector2D, kEdges> cornerAt{{{left + kCornerInset, bottom + kCornerInset},
                                                 {left + kCornerInset, top - kCornerInset},
                                                 {right - kCornerInset, top - kCornerInset},
                                                 {right - kCornerInset, bottom + kCornerInset}}};
    const float sideLength = (top - bottom) - kPipeShortening;
    const float spanLength = (right - left) - kPipeShortening;
    for (std::size_t i = 0; i < kEdges; ++i) {
        if (m_pipes[i]) {
            m_pipes[i]->SetScaleX(i % 2 == 0 ? sideLength : spanLength);
        }
        Place(m_pipes[i].Get(), pipeAt[i].x, pipeAt[i].y, alpha);
        Place(m_corners[i].Get(), cornerAt[i].x, cornerAt[i].y, alpha);
    }
}

void UiFrame::Save(Core::File& file) const {
    WritePiece(file, m_centre);
    for (std::size_t i = 0; i < kEdges; ++i) {
        WritePiece(file, m_pipes[i]);
        WritePiece(file, m_corners[i]);
    }
    WriteRect(file, m_current);
    WriteRect(file, m_target);
    file.WriteU8(m_settled);
}

std::unique_ptr<UiFrame> UiFrame::Read(Core::File& file) {
    std::unique_ptr<UiFrame> frame(new (__FILE__, __LINE__) UiFrame());
    frame->m_centre = ReadPiece(file);
    for (std::size_t i = 0; i < kEdges; ++i) {
        frame->m_pipes[i] = ReadPiece(file);
        frame->m_corners[i] = ReadPiece(file);
    }
    ReadRect(file, frame->m_current);
    ReadRect(file, frame->m_target);
    ReadFlagByte(file, frame->m_settled);
    if (file.HasFailed()) {
        return nullptr;
    }
    return frame;
}

void SaveOptionalFrame(Core::File& file, const UiFrame* frame) {
    file.WriteU8(frame != nullptr ? 1 : 0);
    if (frame != nullptr) {
        frame->Save(file);
    }
}

std::unique_ptr<UiFrame> ReadOptionalFrame(Core::File& file) {
    std::uint8_t present = 0;
    ReadFlagByte(file, present);
    return present != 0 && !file.HasFailed() ? UiFrame::Read(file) : nullptr;
}

std::unique_ptr<UiFrame> MakeUiFrame(float left, float top, float right, float bottom, float alpha) {
    return std::unique_ptr<UiFrame>(new (__FILE__, __LINE__) UiFrame(left, top, right, bottom, alpha));
}

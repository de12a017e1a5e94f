#include "mygame/MyGame_UiFrame.h"

UiFrame::UiFrame(float left, float top, float right, float bottom, float alpha)
    : m_current{left, top, right, bottom, alpha}, m_target{left, top, right, bottom, alpha} {}

void UiFrame::SetRect(float left, float top, float right, float bottom, float alpha) {
    m_current = {left, top, right, bottom, alpha};
}

void UiFrame::SetTargetRect(float left, float top, float right, float bottom, float alpha) {
    m_target = {left, top, right, bottom, alpha};
    m_settled = false;
}

void UiFrame::Animate(float) {}

void UiFrame::Destroy() {}

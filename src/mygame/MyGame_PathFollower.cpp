#include "mygame/MyGame_PathFollower.h"

#include "core/Core_File.h"

#include <cmath>

namespace {

bool IsFlag(std::uint8_t value) { return value <= 1; }

}  // namespace

void PathFollower::Advance(float dt, Vector2D& position, Vector2D& direction) {
    // A refused path file leaves an empty curve of length 0: nothing to
    // divide by, nothing to follow.
    if (curve == nullptr || !(curve->GetLength() > 0.0f)) {
        return;
    }
    t = speed * dt / curve->GetLength() + t;
    if (t < 0.0f) {
        t = loop != 0 ? t - std::trunc(t) + 1.0f : 0.0f;
    } else if (t > 1.0f) {
        t = loop != 0 ? t - std::trunc(t) : 1.0f;
    }
    const float s = curve->LookupSampledValue(t);
    position = curve->GetPosition(s);
    direction = curve->GetDirection(s);
    if (speed < 0.0f || (speed == 0.0f && mode == 1)) {
        direction = -direction;
    }
}

bool PathFollower::HasPath() const { return curve != nullptr && curve->GetLength() > 0.0f; }

void PathFollower::Save(Core::File& file) const {
    file << curve;
    file.WriteI32(mode);
    file.WriteF32(t);
    file.WriteF32(speed);
    file.WriteU8(loop);
}

void PathFollower::Load(Core::File& file) {
    Core::RefPtr<Tundra::CompositeBezierCurve> readCurve;
    std::int32_t readMode = mode;
    float readT = t;
    float readSpeed = speed;
    std::uint8_t readLoop = loop;
    file >> readCurve;
    file.ReadI32(readMode);
    file.ReadF32(readT);
    file.ReadF32(readSpeed);
    file.ReadU8(readLoop);
    if (file.HasFailed() || (readMode != 0 && readMode != 1) || !(readT >= 0.0f && readT <= 1.0f) ||
        !std::isfinite(readSpeed) || !IsFlag(readLoop)) {
        file.SetFailed();
        return;
    }
    curve = readCurve;
    mode = readMode;
    t = readT;
    speed = readSpeed;
    loop = readLoop;
}

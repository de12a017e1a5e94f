#pragma once

#include "engine/Engine_LinesBase.h"
#include "engine/Engine_UnregisteredClass.h"

#include <cstdint>

namespace Engine {

// Line segments in one colour, drawn where the parent places them. Streams
// store only the node part.
class Lines : public LinesBase {
    TUN_DECLARE_UNREGISTERED_CLASS(Lines);

    Lines() = default;

    void AddLine(const Vector3D& start, const Vector3D& end);
    // Segments that do not exist are ignored by the setters; the getters
    // give the origin for them.
    void SetStartPoint(std::uint32_t line, const Vector3D& point) { SetPoint(2 * std::uint64_t(line), point); }
    void SetEndPoint(std::uint32_t line, const Vector3D& point) { SetPoint(2 * std::uint64_t(line) + 1, point); }
    Vector3D GetStartPoint(std::uint32_t line) const { return GetPoint(2 * std::uint64_t(line)); }
    Vector3D GetEndPoint(std::uint32_t line) const { return GetPoint(2 * std::uint64_t(line) + 1); }

private:
    void SetPoint(std::uint64_t index, const Vector3D& point);
    Vector3D GetPoint(std::uint64_t index) const;
};

}  // namespace Engine

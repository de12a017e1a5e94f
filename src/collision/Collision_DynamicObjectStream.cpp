#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Stream.h"

#include <cmath>

// The stored form of a dynamic object: settings, frame selection, its own
// copy of the frame's shapes, pose, and the records of the last pass. The
// actor is never stored; the game attaches it again after a load.

namespace Collision2D {

namespace {

constexpr std::uint32_t kMaxRecords = 1u << 20;

void WriteResults(Core::File& file, const std::vector<COLLISION_C>& list, std::uint32_t count) {
    file.WriteU32(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        list[i].Save(file);
    }
}

void ReadResults(Core::File& file, std::vector<COLLISION_C>& list, std::uint32_t& count) {
    count = 0;
    const std::uint32_t stored = ReadCount(file, kMaxRecords);
    for (std::uint32_t i = 0; i < stored && !file.HasFailed(); ++i) {
        AppendShapeResult(list, count).Load(file);
    }
}

template <class Record>
void WriteStaticRecords(Core::File& file, const RecordList<Record>& records) {
    file.WriteU32(records.Count());
    for (std::uint32_t i = 0; i < records.Count(); ++i) {
        file.WriteU32(records[i].handle);
        records[i].Save(file);
    }
}

template <class Record>
void ReadStaticRecords(Core::File& file, RecordList<Record>& records) {
    const std::uint32_t stored = ReadCount(file, kMaxRecords);
    for (std::uint32_t i = 0; i < stored && !file.HasFailed(); ++i) {
        Record& record = records.Append();
        file.ReadU32(record.handle);
        record.Load(file);
    }
}

}  // namespace

void DynamicObject::Save(Core::File& file) const {
    file.WriteU32(GetId());
    file.WriteU8(m_type);
    file.WriteF32(m_thickness);
    file.WriteU8(m_checkTileMaps);
    file.WriteU8(m_group);
    for (const std::uint64_t bits : m_allowedGroups) {
        file.WriteU32(static_cast<std::uint32_t>(bits));
        file.WriteU32(static_cast<std::uint32_t>(bits >> 32));
    }
    file.WriteU8(m_updateOnIdle);

    file.WriteI32(m_animation);
    file.WriteI32(m_frame);
    file.WriteU8(m_horizontalFlip);
    file.WriteU8(m_verticalFlip);
    file.WriteU8(m_hasFrame);
    WriteRect(file, m_localRectangle);
    file.WriteU32(static_cast<std::uint32_t>(m_localSegments.size()));
    for (const auto& s : m_localSegments) {
        WriteSegment(file, s);
    }
    file.WriteU32(static_cast<std::uint32_t>(m_localCircles.size()));
    for (const auto& c : m_localCircles) {
        WriteCircle(file, c);
    }

    WriteVector(file, m_position);
    file.WriteF32(m_orientation);
    WriteVector(file, m_oldPosition);
    file.WriteF32(m_oldOrientation);
    WriteVector(file, m_offset);
    file.WriteU8(m_changed);

    file.WriteU32(m_rectangleRecords.Count());
    for (std::uint32_t i = 0; i < m_rectangleRecords.Count(); ++i) {
        file.WriteU32(m_rectangleRecords[i].handle);
    }
    file.WriteU32(m_shapeRecords.Count());
    for (std::uint32_t i = 0; i < m_shapeRecords.Count(); ++i) {
        const DGEO_C& record = m_shapeRecords[i];
        file.WriteU32(record.handle);
        WriteVector(file, record.contactPosition);
        WriteResults(file, record.lineSegments, record.currentLineSegmentsNumber);
        WriteResults(file, record.circles, record.currentCirclesNumber);
    }
    WriteStaticRecords(file, m_segmentRecords);
    WriteStaticRecords(file, m_circleRecords);
}

// Into a new object; gives the stored id for the layer to check. The layer
// drops the object when the stream fails.
std::uint32_t DynamicObject::Load(Core::File& file) {
    std::uint32_t id = 0;
    file.ReadU32(id);
    file.ReadU8(m_type);
    file.ReadF32(m_thickness);
    if (!(m_thickness >= 0.0f) || !std::isfinite(m_thickness)) {
        file.SetFailed();
    }
    m_checkTileMaps = ReadBool(file);
    file.ReadU8(m_group);
    m_group = ClampGroup(m_group);
    for (std::uint64_t& bits : m_allowedGroups) {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        file.ReadU32(low);
        file.ReadU32(high);
        bits = std::uint64_t{high} << 32 | low;
    }
    m_updateOnIdle = ReadBool(file);

    file.ReadI32(m_animation);
    file.ReadI32(m_frame);
    m_horizontalFlip = ReadBool(file);
    m_verticalFlip = ReadBool(file);
    m_hasFrame = ReadBool(file);
    ReadRect(file, m_localRectangle);
    const std::uint32_t segments = ReadCount(file, kMaxShapesPerFrame);
    for (std::uint32_t i = 0; i < segments && !file.HasFailed(); ++i) {
        m_localSegments.push_back(ReadSegment(file));
    }
    const std::uint32_t circles = ReadCount(file, kMaxShapesPerFrame);
    for (std::uint32_t i = 0; i < circles && !file.HasFailed(); ++i) {
        m_localCircles.push_back(ReadCircle(file));
    }

    m_position = ReadVector(file);
    file.ReadF32(m_orientation);
    m_oldPosition = ReadVector(file);
    file.ReadF32(m_oldOrientation);
    m_offset = ReadVector(file);
    m_changed = ReadBool(file);
    m_worldStale = true;

    const std::uint32_t rectangles = ReadCount(file, kMaxRecords);
    for (std::uint32_t i = 0; i < rectangles && !file.HasFailed(); ++i) {
        file.ReadU32(m_rectangleRecords.Append().handle);
    }
    const std::uint32_t shapes = ReadCount(file, kMaxRecords);
    for (std::uint32_t i = 0; i < shapes && !file.HasFailed(); ++i) {
        DGEO_C& record = m_shapeRecords.Append();
        file.ReadU32(record.handle);
        record.contactPosition = ReadVector(file);
        ReadResults(file, record.lineSegments, record.currentLineSegmentsNumber);
        ReadResults(file, record.circles, record.currentCirclesNumber);
    }
    ReadStaticRecords(file, m_segmentRecords);
    ReadStaticRecords(file, m_circleRecords);
    return id;
}

}  // namespace Collision2D

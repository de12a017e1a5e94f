#include "collision/Collision_Results.h"

#include "collision/Collision_Stream.h"

namespace Collision2D {

void COLLISION_C::Save(Core::File& file) const {
    WriteVector(file, contactPosition);
    file.WriteF32(penetrationDistance);
    file.WriteU32(numberOfIntersectedPoints);
    for (int i = 0; i < 2; ++i) {
        WriteVector(file, contactPoint[i]);
        WriteVector(file, normal[i]);
    }
    file.WriteU8(static_cast<std::uint8_t>(ownKind));
    for (const std::uint32_t value : {ownIndex, ownUserId, otherIndex, otherUserId}) {
        file.WriteU32(value);
    }
}

void COLLISION_C::Load(Core::File& file) {
    contactPosition = ReadVector(file);
    file.ReadF32(penetrationDistance);
    numberOfIntersectedPoints = ReadCount(file, 2);
    for (int i = 0; i < 2; ++i) {
        contactPoint[i] = ReadVector(file);
        normal[i] = ReadVector(file);
    }
    ownKind = ReadBool(file) ? ShapeKind::Circle : ShapeKind::LineSegment;
    for (std::uint32_t* value : {&ownIndex, &ownUserId, &otherIndex, &otherUserId}) {
        file.ReadU32(*value);
    }
}

COLLISION_C& AppendShapeResult(std::vector<COLLISION_C>& list, std::uint32_t& count) {
    if (count == list.size()) {
        list.emplace_back();
    }
    list[count] = COLLISION_C{};
    return list[count++];
}

void SortShapeResults(std::vector<COLLISION_C>& list, std::uint32_t count) {
    SortList(list, count, [](const COLLISION_C& a, const COLLISION_C& b) {
        if (a.ownKind != b.ownKind) {
            return a.ownKind < b.ownKind;
        }
        return a.ownIndex != b.ownIndex ? a.ownIndex < b.ownIndex : a.otherIndex < b.otherIndex;
    });
}

}  // namespace Collision2D

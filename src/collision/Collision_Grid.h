#pragma once

#include "collision/Collision_DynamicObject.h"

#include <cstdint>
#include <vector>

namespace Collision2D {

// A uniform broad-phase grid. Cells hold the dynamic entries and static
// slots whose boxes touch them, in ascending order. Boxes outside the grid
// fall into its border cells, so the grid only speeds the pass up and never
// changes which pairs meet.
class BroadPhaseGrid {
public:
    static constexpr std::int32_t kMinimumCellSize = 50;
    static constexpr std::uint32_t kMaxCells = 4096;

    struct CellRange {
        std::uint32_t firstColumn = 0;
        std::uint32_t lastColumn = 0;
        std::uint32_t firstRow = 0;
        std::uint32_t lastRow = 0;
    };

    // Sizes of 0 or less give one cell; the cell grows until the count fits.
    void Configure(const Vector2D& origin, std::int32_t width, std::int32_t height, std::int32_t cellSize);

    // Inline: the pass asks for every object's range.
    CellRange RangeOf(const Box& box) const {
        return {CellOf(box.minX, m_origin.x, m_inverseCellSize, m_columns),
                CellOf(box.maxX, m_origin.x, m_inverseCellSize, m_columns),
                CellOf(box.minY, m_origin.y, m_inverseCellSize, m_rows),
                CellOf(box.maxY, m_origin.y, m_inverseCellSize, m_rows)};
    }
    std::uint32_t CellIndex(std::uint32_t column, std::uint32_t row) const { return row * m_columns + column; }

    void InsertDynamic(const CellRange& range, std::uint16_t entry);
    void ClearDynamic();
    void InsertStaticCircle(const Box& box, std::uint16_t slot);
    void InsertStaticSegment(const Box& box, std::uint16_t slot);
    void ClearStatic();

    const std::vector<std::uint16_t>& DynamicAt(std::uint32_t cell) const { return At(m_dynamic, cell); }
    const std::vector<std::uint16_t>& CirclesAt(std::uint32_t cell) const { return At(m_circles, cell); }
    const std::vector<std::uint16_t>& SegmentsAt(std::uint32_t cell) const { return At(m_segments, cell); }

private:
    // The cell of a coordinate, clamped to the grid; NaN boxes never get here.
    static std::uint32_t CellOf(float value, float origin, float inverseCell, std::uint32_t count) {
        const float index = (value - origin) * inverseCell;
        if (!(index >= 1.0f)) {
            return 0;
        }
        return index >= static_cast<float>(count - 1) ? count - 1 : static_cast<std::uint32_t>(index);
    }

    using Cells = std::vector<std::vector<std::uint16_t>>;
    // The cell arrays are made on the first insert, so that a layer costs
    // nothing until something is put in it.
    static const std::vector<std::uint16_t>& At(const Cells& cells, std::uint32_t cell) {
        static const std::vector<std::uint16_t> kEmpty;
        return cell < cells.size() ? cells[cell] : kEmpty;
    }
    void Insert(Cells& cells, const CellRange& range, std::uint16_t value);

    Vector2D m_origin;
    float m_inverseCellSize = 1.0f / kMinimumCellSize;
    std::uint32_t m_columns = 1;
    std::uint32_t m_rows = 1;
    Cells m_dynamic;
    Cells m_circles;
    Cells m_segments;
    // Cells holding dynamic entries, emptied by the next ClearDynamic.
    std::vector<std::uint32_t> m_usedCells;
};

}  // namespace Collision2D

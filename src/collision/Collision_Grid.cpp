#include "collision/Collision_Grid.h"

#include <algorithm>
#include <cmath>

namespace Collision2D {

namespace {

std::uint32_t CellsAlong(std::int32_t size, double cell) {
    return size <= 0 ? 1u : static_cast<std::uint32_t>(std::ceil(static_cast<double>(size) / cell));
}

}  // namespace

void BroadPhaseGrid::Configure(const Vector2D& origin, std::int32_t width, std::int32_t height, std::int32_t cellSize) {
    m_origin = origin;
    double cell = std::max(cellSize, kMinimumCellSize);
    while (static_cast<double>(CellsAlong(width, cell)) * CellsAlong(height, cell) > kMaxCells) {
        cell *= 2.0;
    }
    m_inverseCellSize = static_cast<float>(1.0 / cell);
    m_columns = CellsAlong(width, cell);
    m_rows = CellsAlong(height, cell);
    m_dynamic.clear();
    m_circles.clear();
    m_segments.clear();
    m_usedCells.clear();
}

void BroadPhaseGrid::Insert(Cells& cells, const CellRange& range, std::uint16_t value) {
    cells.resize(std::size_t{m_columns} * m_rows);
    for (std::uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
        for (std::uint32_t column = range.firstColumn; column <= range.lastColumn; ++column) {
            cells[CellIndex(column, row)].push_back(value);
        }
    }
}

void BroadPhaseGrid::InsertDynamic(const CellRange& range, std::uint16_t entry) {
    m_dynamic.resize(std::size_t{m_columns} * m_rows);
    for (std::uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
        for (std::uint32_t column = range.firstColumn; column <= range.lastColumn; ++column) {
            auto& cell = m_dynamic[CellIndex(column, row)];
            if (cell.empty()) {
                m_usedCells.push_back(CellIndex(column, row));
            }
            cell.push_back(entry);
        }
    }
}

void BroadPhaseGrid::ClearDynamic() {
    for (const std::uint32_t cell : m_usedCells) {
        m_dynamic[cell].clear();
    }
    m_usedCells.clear();
}

void BroadPhaseGrid::InsertStaticCircle(const Box& box, std::uint16_t slot) { Insert(m_circles, RangeOf(box), slot); }

void BroadPhaseGrid::InsertStaticSegment(const Box& box, std::uint16_t slot) { Insert(m_segments, RangeOf(box), slot); }

void BroadPhaseGrid::ClearStatic() {
    for (auto& cell : m_circles) {
        cell.clear();
    }
    for (auto& cell : m_segments) {
        cell.clear();
    }
}

}  // namespace Collision2D

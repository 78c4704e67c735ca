#include "form/GridColumns.h"

#include <algorithm>

#include "app/Ui.h"
#include "form/CVARNFBControl.h"

namespace varn {

namespace {

std::size_t firstCell(const CVARNFBControl& grid, int k) {
    return static_cast<std::size_t>(k) * static_cast<std::size_t>(grid.gridRows());
}

}  // namespace

std::vector<std::unique_ptr<CVARNFBControl>> copyGridCells(const CVARNFBControl& grid) {
    std::vector<std::unique_ptr<CVARNFBControl>> out;
    out.reserve(grid.cells.size());
    for (const auto& cell : grid.cells) out.push_back(std::make_unique<CVARNFBControl>(*cell));
    return out;
}

bool setGridColumn(CVARNFBControl& grid, int k, const CVARNFBControl& prototype) {
    if (!grid.gridColumn(k)) return false;
    const int rows = grid.gridRows();
    const CVARNFBControl before(*grid.gridColumn(k));
    for (int row = 0; row < rows; ++row) {
        CVARNFBControl& cell = *grid.cells[firstCell(grid, k) + static_cast<std::size_t>(row)];
        const CVARNFBControl own(cell);
        cell.copyFrom(prototype);
        cell.rect() = own.rect();
        // A row keeps its own bitmap and colours unless the column's were changed.
        if (prototype.bitmap == before.bitmap) cell.bitmap = own.bitmap;
        if (prototype.foreground == before.foreground) cell.foreground = own.foreground;
        if (prototype.background == before.background) cell.background = own.background;
        cell.arrayCount = rows;
        cell.arrayIndex = row;
    }
    return true;
}

bool deleteGridColumn(CVARNFBControl& grid, int k) {
    if (!grid.gridColumn(k)) return false;
    const auto first = grid.cells.begin() + static_cast<std::ptrdiff_t>(firstCell(grid, k));
    grid.cells.erase(first, first + grid.gridRows());
    return true;
}

bool moveGridColumn(CVARNFBControl& grid, int from, int target, bool after, Ui& ui) {
    const int columns = grid.gridColumnCount();
    if (from < 0 || from >= columns) {
        ui.error(kMoveColumnFirst);
        return false;
    }
    if (target < 0 || target >= columns || target == from) {
        ui.error(kTwoDifferentColumns);
        return false;
    }
    if (grid.cells.size() != firstCell(grid, columns)) {
        ui.error(kColumnsInconsistent);
        return false;
    }
    std::vector<int> order(static_cast<std::size_t>(columns));
    for (int k = 0; k < columns; ++k) order[static_cast<std::size_t>(k)] = k;
    order.erase(order.begin() + from);
    auto at = std::find(order.begin(), order.end(), target);
    if (after) ++at;
    order.insert(at, from);
    std::vector<std::unique_ptr<CVARNFBControl>> moved;
    moved.reserve(grid.cells.size());
    for (int k : order)
        for (int row = 0; row < grid.gridRows(); ++row)
            moved.push_back(std::move(grid.cells[firstCell(grid, k) + static_cast<std::size_t>(row)]));
    grid.cells = std::move(moved);
    return true;
}

void regridCells(CVARNFBControl& grid, int oldRows) {
    const std::size_t step = static_cast<std::size_t>(std::max(oldRows, 1));
    std::vector<CVARNFBControl> prototypes;
    for (std::size_t i = 0; i < grid.cells.size(); i += step) prototypes.emplace_back(*grid.cells[i]);
    grid.cells.clear();
    for (const CVARNFBControl& p : prototypes) grid.appendGridColumn(p);
}

}  // namespace varn

// Editing a grid's columns on a working copy of the grid: a column's page
// changed, a column deleted or moved before or after another one, and the
// cells remade when the number of display rows changes.
#pragma once

#include <memory>
#include <vector>

namespace varn {

class CVARNFBControl;
class Ui;

inline constexpr const char* kMoveColumnFirst = "Please select the 'Move column' first";
inline constexpr const char* kTwoDifferentColumns = "Please select two different columns";
inline constexpr const char* kColumnsInconsistent = "Something bad happened";

// Copies of the grid's cells (without windows).
std::vector<std::unique_ptr<CVARNFBControl>> copyGridCells(const CVARNFBControl& grid);
// Every row of column k becomes a copy of the prototype, except that a row
// keeps its own bitmap and colours where the prototype left the column's
// first row's unchanged; false when there is no column k.
bool setGridColumn(CVARNFBControl& grid, int k, const CVARNFBControl& prototype);
// Removes column k with its cells; false when there is no column k.
bool deleteGridColumn(CVARNFBControl& grid, int k);
// Moves column `from` before (or after) column `target`. No column to move,
// or the same column twice, is refused with its message; a cell list that
// is not whole columns ends the move with "Something bad happened".
bool moveGridColumn(CVARNFBControl& grid, int from, int target, bool after, Ui& ui);
// The cells were made for `oldRows` display rows: remade for the grid's
// present rows, one column per first cell.
void regridCells(CVARNFBControl& grid, int oldRows);

}  // namespace varn

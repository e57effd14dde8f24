// Small helpers for looking at and filling the free line grid in tests.
#pragma once

#include <string>
#include <vector>

#include "TextGrid.h"

namespace murvex::freelines::test {

using Rows = std::vector<std::vector<std::string>>;

// The data cells (columns 1 to 7, and the dash columns after them) of every data row.
Rows DataRows(const TextGrid& grid);
// The number cells of every data row.
std::vector<std::string> Numbers(const TextGrid& grid);
// A set-up grid holding these rows (more than seven cells add dash columns), row 1 current.
TextGrid GridWith(const Rows& rows);
// A row of seven cells from the given leading ones.
std::vector<std::string> Row7(std::vector<std::string> cells);
// A row of count cells from the given leading ones.
std::vector<std::string> RowOf(std::vector<std::string> cells, std::size_t count);

}  // namespace murvex::freelines::test

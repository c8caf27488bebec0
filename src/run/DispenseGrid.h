#pragma once

#include "core/WeightText.h"
#include "model/Form3.h"

namespace dye {

// DispenseGrid: the main screen's Label4(0..59), 10 rows by 6 columns. Row r
// of column c is Label4(10c + r).
namespace DispenseGrid {

inline constexpr int kRows = 10;
enum Column : int {
    Code = 0,           // 代碼
    RecipeWeight = 10,  // 配方重
    Tube = 20,          // 管號
    ActualWeight = 30,  // 實際重
    Balance = 40,       // 天平, "1" or "2"
    Name = 50,          // 名稱
};
inline constexpr Column kColumns[] = {Code, RecipeWeight, Tube, ActualWeight, Balance, Name};

inline Label& cell(Form3& f, Column c, int row) {
    return f.Label4[int(c) + row];
}
inline const Label& cell(const Form3& f, Column c, int row) {
    return f.Label4[int(c) + row];
}
inline QString text(const Form3& f, Column c, int row) {
    return cell(f, c, row).Caption;
}

// The row's recipe weight read as every check reads it (0 when it is not a
// plain number, which the queue guard never lets through).
inline double recipeWeight(const Form3& f, int row) {
    return readWeight(text(f, RecipeWeight, row)).value_or(0.0);
}

// Every cell back to its default colour.
inline void paintDefault(Form3& f) {
    for (Label& l : f.Label4) l.BackColor = kDefaultBack;
}
// Every cell empty and in its default colour.
inline void clear(Form3& f) {
    for (Label& l : f.Label4) l = Label{};
}
// Rows that carry a code.
inline int rowCount(const Form3& f) {
    int n = 0;
    for (int r = 0; r < kRows; ++r)
        if (!text(f, Code, r).trimmed().isEmpty()) ++n;
    return n;
}

}  // namespace DispenseGrid
}  // namespace dye

#pragma once

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

}  // namespace DispenseGrid
}  // namespace dye

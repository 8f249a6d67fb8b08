#include "common/ContourCode.h"

namespace mvx {

ContourCode Decode_Contour_Code(int32_t code) {
    // Each kind: its unit, how many codes it has, and the place of its first code among the twenty.
    static const struct {
        ContourSourceKind Source;
        int32_t Unit;
        int Rows;
        int First;
    } kKinds[] = {{ContourSourceKind::Intensity, 1, 5, 0},
                  {ContourSourceKind::Correlation, 10, 5, 5},
                  {ContourSourceKind::Velocity, 100, 6, 10},
                  {ContourSourceKind::PercentGood, 1000, 4, 16}};
    for (const auto& kind : kKinds) {
        if (code % kind.Unit != 0 || code < kind.Unit || code > kind.Unit * kind.Rows) continue;
        const int row = code / kind.Unit - 1;
        return {kind.Source, row, kind.First + row};
    }
    return {};
}

int32_t Contour_Code_At(int index) {
    static constexpr int32_t kCodes[] = {1,   2,   3,   4,   5,   10,  20,   30,   40,   50,
                                         100, 200, 300, 400, 500, 600, 1000, 2000, 3000, 4000};
    return index >= 0 && index < 20 ? kCodes[index] : 0;
}

} // namespace mvx

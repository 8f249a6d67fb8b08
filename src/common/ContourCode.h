#pragma once
// The contour data-type codes the options, the charts, the export dialog and the report editor share:
// 1-4 echo intensity of a beam and 5 its average; 10, 20, 30, 40 correlation of a beam and 50 its
// average; 100 east, 200 north, 300 up, 400 error velocity, 500 magnitude, 600 direction; 1000-4000
// percent good of a beam.
#include <cstdint>

namespace mvx {

// The data-set array a code reads.
enum class ContourSourceKind { None, Intensity, Correlation, Velocity, PercentGood };

struct ContourCode {
    ContourSourceKind Source = ContourSourceKind::None; // None for a code that is not one of the twenty
    int Row = 0;    // the array's first index: beam 0-3 or the average 4, or the velocity row 0-5
    int Index = -1; // place among the twenty codes in the order above, 0-19
};

ContourCode Decode_Contour_Code(int32_t code);
// The code at a place 0-19 among the twenty (the inverse of Index above); 0 for any other place.
int32_t Contour_Code_At(int index);

} // namespace mvx

#pragma once
// The report editor's snapshot of the contour and its report file (".mvr"): captions and labels as
// quoted lines, the matrix size as bare numbers, then one line per bin row of 8-character fields.
#include "model/DataSet.h"
#include "model/Options.h"
#include "model/SetDescriptors.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mvx {

struct ReportSnapshot {
    std::string Caption = "MAREVOX Data Editor";
    std::array<std::string, 3> Titles{"Label 1", "Label 2", "Label 3"};
    std::string StartTime = "Start Time", StartDate = "Start Date";
    std::string EndTime = "End Time", EndDate = "End Date";
    std::string XAxisCaption = "X axis";
    std::string YAxisCaption = "Y axis";
    std::string DataTypeName;
    int32_t Bins = 1;      // matrix rows R; row 0 holds the highest bin
    int32_t Ensembles = 1; // matrix columns C
    // R x C values, row index fastest: (r, c) at c * Bins + r.
    std::vector<int32_t> Matrix = std::vector<int32_t>(1, 0);

    // Sets the size (each at least 1) and clears every value to 0.
    void Resize(int32_t bins, int32_t ensembles);
    int32_t& At(int32_t r, int32_t c) { return Matrix[static_cast<size_t>(c) * Bins + r]; }
    int32_t At(int32_t r, int32_t c) const { return Matrix[static_cast<size_t>(c) * Bins + r]; }
    // Bins and Ensembles at least 1 and the matrix of exactly that size.
    bool Consistent() const;
};

// Writes the report file: lines 1-14 (captions quoted, R and C bare), then R lines of C values, each
// formatted "0" and padded on the right to 8 characters; every line ends with CR LF. A target that
// already holds data is refused with "Over-Write of File Not Allowed" and left as it was. Line breaks
// inside a caption are written as spaces so that the file keeps its line structure. False with a
// message in error on any failure; the target is then as it was found (removed or empty again).
bool Save_Data(const ReportSnapshot& snapshot, const std::string& path, std::string& error);

// Reads a report file into snapshot. Line 10 and then line 14 set the Y-axis caption; R and C below 1
// read as 1; each matrix line is cut into C fields of 8 characters from the left and a field that does
// not start with a number reads 0 (a number with decimals is rounded, halves to even; beyond the
// 32-bit range it is clamped). The file decides how much is read: R is cut to the matrix lines
// present and C to the fields of its longest matrix line, and fields missing from a short line read 0.
// A file without its 14 header lines, or one whose matrix would be larger than its bytes can hold, is
// refused: false with a message, snapshot unchanged.
bool Load_Data(const std::string& path, ReportSnapshot& snapshot, std::string& error);
// The same from bytes already in memory.
bool Read_Report_Text(std::string_view bytes, ReportSnapshot& snapshot, std::string& error);

// Takes the loaded set into the snapshot as the contour shows it: R = LastBinShown - FirstBinShown + 1
// bins and C = the number of loaded ensembles (CurrentEnsIndex), each at least 1; the values of the
// array that ContourDataType selects (raw: velocity in mm/s, direction in tenths of a degree), matrix
// row r from bin LastBinShown - 1 - r so that row 0 holds the highest bin shown; titles, data type
// name and the first and last ensemble's date and time. The window caption and the axis captions are
// kept. contourTypeNames is the contour type name table (19 names in code order without one for the
// direction, or 20 with it in the direction's place); referenceNames the reference names ("None",
// "Bottom", "Navigation"), references 3-5 taking the names of their processing options when the table
// is shorter. False with a message, snapshot unchanged, when no valid file is open, the data set is
// not allocated or the data type code is unknown.
bool Load_Sub_Set(ReportSnapshot& snapshot, const DataSet& data, const SetDescriptors& set,
                  const Options& options, const std::vector<std::string>& contourTypeNames,
                  const std::vector<std::string>& referenceNames, const std::string& mainCaption,
                  std::string& error);

// Name of a contour data type code from the name table, as Load_Sub_Set uses it.
std::string ContourTypeName(int32_t code, const std::vector<std::string>& contourTypeNames);
// Name of a velocity reference option 0-5, as Load_Sub_Set uses it.
std::string ReferenceName(int32_t reference, const std::vector<std::string>& referenceNames);

} // namespace mvx

#pragma once
// What the three NetCDF writers share. Each gathers the values of every exported ensemble in memory
// (each ensemble is read once), then lays out the file: the dimension time (one per ensemble read)
// with the CF time coordinate and the ensemble numbers, the dimension range (one per exported bin)
// with the bins' distances from the transducer and their numbers, one variable per exported data
// type, and the global attributes of the instrument's set-up.
#include "export/CfTime.h"
#include "export/ExportData.h"
#include "export/ExportReader.h"
#include "export/ExportSelection.h"
#include "export/NetCdfFile.h"
#include "export/NetCdfVariables.h"

#include <functional>
#include <string>
#include <vector>

namespace mvx::netcdf {

using exportdata::BinColumns;

// The ensembles read so far: numbers and time bytes, one per row.
struct Rows {
    std::vector<int32_t> Numbers;
    std::vector<EnsembleTimeBytes> Times;
    void Store(const EnsembleSet& data);
    size_t Size() const { return Numbers.size(); }
};

// One variable's values gathered row by row: Append adds one ensemble's values (one, or one per bin
// or beam of its second dimension).
template <typename T> struct Column {
    NcVariableInfo Info;
    bool PerBin = false;  // (time, range)
    bool PerBeam = false; // (time, beam)
    size_t Width = 1;     // values per row
    std::function<void(const EnsembleSet&, std::vector<T>&)> Append;
    std::vector<T> Values;
    int Var = -1;
};
using IntColumn = Column<int32_t>;
using DoubleColumn = Column<double>;

// A per-bin data type (0-19) over the exported bins.
IntColumn BinColumn(int k, bool earth, const BinColumns& bins);

// The set-up the file describes, as it was when the first exported ensemble was loaded.
struct Source {
    const SetDescriptors& Set;
    const Options& Opts;
    InstrumentSetup Setup;
    explicit Source(const ExportReader& reader)
        : Set(reader.Set()), Opts(reader.Opts()), Setup(reader.Setup()) {}
    // Whether the velocities are east, north and up: recorded so, or transformed from beam coordinates.
    bool EarthVelocities() const;
};

// Loads the range's ensembles one after the other, storing each one's number, time and column values,
// until the range ends, the selection is cancelled or an ensemble cannot be read. Reports progress.
// False, with the file failed, when an ensemble could not be read or the values not held in memory;
// a cancelled gathering keeps the rows read before it.
bool Gather_Range(ExportReader& reader, ExportSelection& selection, const EnsembleRange& range,
                  OutputFile& file, Rows& rows, std::vector<IntColumn>& ints,
                  std::vector<DoubleColumn>& doubles);
// Stores the ensemble in slot 0 as one row.
void Store_Row(const EnsembleSet& data, Rows& rows, std::vector<IntColumn>& ints,
               std::vector<DoubleColumn>& doubles);

// Lays out the file of the gathered rows and columns (a column per bin only when there are bins) and
// writes it into file. False, with the file failed, when the library or the write failed.
bool Write_File(OutputFile& file, const Source& source, const std::string& title, const Rows& rows,
                const BinColumns& bins, std::vector<IntColumn>& ints, std::vector<DoubleColumn>& doubles);

} // namespace mvx::netcdf

#pragma once
// A NetCDF file (64-bit offset format) made by the NetCDF C library in memory and then written out
// through an OutputFile, so that the library never creates, replaces or leaves a file on disk itself:
// the target is opened, refused or put back after a failure exactly as for every other export.
//
// Use: Dimension / Variable / attributes, EndDefinitions, Put each variable's values in one piece,
// WriteTo. The first failure of the library (not enough memory, a bad name, a value out of a variable's
// range) is kept as a message; every later call does nothing, and WriteTo then fails the output file
// with the message instead of writing. Nothing here throws.
#include "common/OutputFile.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace mvx {

// The external types the exports store. Integers are stored in a signed type wide enough for every
// raw value and for the fill value -32768.
enum class NcType { Short, Int, Double };

class NetCdfFile {
  public:
    static constexpr int kGlobal = -1; // the attribute owner that stands for the whole file

    // Starts an empty file in memory.
    NetCdfFile();
    ~NetCdfFile();
    NetCdfFile(const NetCdfFile&) = delete;
    NetCdfFile& operator=(const NetCdfFile&) = delete;

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

    // A dimension of the given length; a length of 0 makes it the file's one unlimited dimension.
    // The id, or -1 after a failure.
    int Dimension(const std::string& name, size_t length);
    int Variable(const std::string& name, NcType type, std::initializer_list<int> dimensions);

    // Attributes of a variable or of kGlobal. An empty text writes nothing.
    void Text(int var, const std::string& name, std::string_view value);
    void Double(int var, const std::string& name, double value);
    void Int(int var, const std::string& name, int32_t value);
    // Values in the variable's own type, as _FillValue and flag_values must be.
    void Typed(int var, const std::string& name, NcType type, std::initializer_list<double> values);

    // Leaves define mode; values can be put from then on.
    void EndDefinitions();
    // All values of a variable, in C order (the last dimension varies fastest). The span must hold
    // exactly the variable's number of values.
    void Put(int var, std::span<const int32_t> values);
    void Put(int var, std::span<const double> values);

    // Finishes the file and writes its bytes into out. False (and out failed with the message) when
    // anything failed, here or before.
    bool WriteTo(OutputFile& out);

  private:
    bool Check(int status, const std::string& what);
    // True when a variable holds exactly count values; the file fails otherwise.
    bool Fits(int var, size_t count);

    int ncid_ = -1;
    std::string error_;
};

} // namespace mvx

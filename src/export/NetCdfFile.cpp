#include "export/NetCdfFile.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <cstdlib>
#include <vector>

namespace mvx {

static_assert(NetCdfFile::kGlobal == NC_GLOBAL);

namespace {

nc_type External(NcType type) {
    switch (type) {
    case NcType::Short:
        return NC_SHORT;
    case NcType::Int:
        return NC_INT;
    case NcType::Double:
        break;
    }
    return NC_DOUBLE;
}

} // namespace

NetCdfFile::NetCdfFile() {
    // The name only labels the file inside the library; nothing is made on disk. The buffer starts
    // empty and the library grows it as the file grows: the size it hands back at the end is then the
    // file's own length. A larger first buffer would come back whole, its unused tail holding whatever
    // the heap held there before.
    Check(nc_create_mem("export.nc", NC_64BIT_OFFSET, 0, &ncid_), "start a file");
    if (!Ok()) ncid_ = -1;
    // Every value is put before the file is finished: prefilling would write it all twice. The
    // library zeroes the memory it grows the buffer by, so bytes no variable covers are zeros.
    int previous = 0;
    if (Ok()) Check(nc_set_fill(ncid_, NC_NOFILL, &previous), "switch off prefilling");
}

NetCdfFile::~NetCdfFile() {
    if (ncid_ >= 0) nc_abort(ncid_);
}

bool NetCdfFile::Check(int status, const std::string& what) {
    if (status == NC_NOERR) return true;
    if (error_.empty()) error_ = "The NetCDF library could not " + what + ": " + nc_strerror(status);
    return false;
}

int NetCdfFile::Dimension(const std::string& name, size_t length) {
    int id = -1;
    if (!Ok() || !Check(nc_def_dim(ncid_, name.c_str(), length, &id), "define the dimension " + name))
        return -1;
    return id;
}

int NetCdfFile::Variable(const std::string& name, NcType type, std::initializer_list<int> dimensions) {
    int id = -1;
    const std::vector<int> dims(dimensions);
    if (!Ok() || !Check(nc_def_var(ncid_, name.c_str(), External(type), static_cast<int>(dims.size()),
                                   dims.data(), &id),
                        "define the variable " + name))
        return -1;
    return id;
}

void NetCdfFile::Text(int var, const std::string& name, std::string_view value) {
    if (!Ok() || value.empty()) return;
    Check(nc_put_att_text(ncid_, var, name.c_str(), value.size(), value.data()),
          "write the attribute " + name);
}

void NetCdfFile::Double(int var, const std::string& name, double value) {
    if (!Ok()) return;
    Check(nc_put_att_double(ncid_, var, name.c_str(), NC_DOUBLE, 1, &value), "write the attribute " + name);
}

void NetCdfFile::Int(int var, const std::string& name, int32_t value) {
    if (!Ok()) return;
    const int v = value;
    Check(nc_put_att_int(ncid_, var, name.c_str(), NC_INT, 1, &v), "write the attribute " + name);
}

void NetCdfFile::Typed(int var, const std::string& name, NcType type, std::initializer_list<double> values) {
    if (!Ok()) return;
    const std::vector<double> v(values);
    Check(nc_put_att_double(ncid_, var, name.c_str(), External(type), v.size(), v.data()),
          "write the attribute " + name);
}

void NetCdfFile::EndDefinitions() {
    if (Ok()) Check(nc_enddef(ncid_), "lay out the file");
}

bool NetCdfFile::Fits(int var, size_t count) {
    if (!Ok()) return false;
    // The library reads as many values as the variable holds: a shorter span must not reach it.
    int dimCount = 0;
    int dims[NC_MAX_VAR_DIMS];
    size_t expected = 1;
    if (!Check(nc_inq_varndims(ncid_, var, &dimCount), "look up a variable") ||
        !Check(nc_inq_vardimid(ncid_, var, dims), "look up a variable"))
        return false;
    for (int i = 0; i < dimCount; ++i) {
        size_t length = 0;
        if (!Check(nc_inq_dimlen(ncid_, dims[i], &length), "look up a dimension")) return false;
        expected *= length;
    }
    if (count != expected) {
        error_ = "An export variable was given " + std::to_string(count) + " values for " +
                 std::to_string(expected) + " places";
        return false;
    }
    return true;
}

void NetCdfFile::Put(int var, std::span<const int32_t> values) {
    if (Fits(var, values.size()) && !values.empty())
        Check(nc_put_var_int(ncid_, var, values.data()), "write a variable's values");
}

void NetCdfFile::Put(int var, std::span<const double> values) {
    if (Fits(var, values.size()) && !values.empty())
        Check(nc_put_var_double(ncid_, var, values.data()), "write a variable's values");
}

bool NetCdfFile::WriteTo(OutputFile& out) {
    NC_memio memio{};
    if (Ok() && ncid_ >= 0) {
        const int status = nc_close_memio(ncid_, &memio);
        ncid_ = -1;
        Check(status, "finish the file");
    }
    if (!Ok()) {
        out.Fail(error_);
        std::free(memio.memory);
        return false;
    }
    out.Write(memio.memory, memio.size);
    std::free(memio.memory);
    return out.Ok();
}

} // namespace mvx

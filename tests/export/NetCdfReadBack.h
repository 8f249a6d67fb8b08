#pragma once
// A NetCDF file read back through the NetCDF library: dimensions, variables with their dimensions,
// stored (unscaled) values and attributes, and the global attributes.
#include <netcdf.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace mvx::test {

struct NcVar {
    nc_type Type = NC_NAT;
    std::vector<std::string> Dims;
    std::vector<double> Values; // as stored, in C order
    std::map<std::string, std::string> Text;
    std::map<std::string, std::vector<double>> Numbers;
};

struct NcContents {
    int Format = 0;
    std::map<std::string, size_t> Dims;
    std::map<std::string, NcVar> Vars;
    NcVar Global; // the global attributes
    const NcVar& Var(const std::string& name) const {
        static const NcVar none;
        EXPECT_EQ(Vars.count(name), 1u) << name;
        return Vars.count(name) ? Vars.at(name) : none;
    }
};

inline void ReadAttrs(int ncid, int var, int count, NcVar& into) {
    for (int i = 0; i < count; ++i) {
        char name[NC_MAX_NAME + 1] = {};
        nc_type type = NC_NAT;
        size_t length = 0;
        nc_inq_attname(ncid, var, i, name);
        nc_inq_att(ncid, var, name, &type, &length);
        if (type == NC_CHAR) {
            into.Text[name].resize(length);
            nc_get_att_text(ncid, var, name, into.Text[name].data());
        } else {
            into.Numbers[name].resize(length);
            nc_get_att_double(ncid, var, name, into.Numbers[name].data());
        }
    }
}

inline NcContents ReadNetCdf(const std::filesystem::path& path) {
    NcContents c;
    int ncid = -1, dims = 0, vars = 0, globals = 0, unlimited = -1;
    const int status = nc_open(path.string().c_str(), NC_NOWRITE, &ncid);
    EXPECT_EQ(status, NC_NOERR) << nc_strerror(status) << " " << path;
    if (status != NC_NOERR) return c;
    nc_inq_format(ncid, &c.Format);
    nc_inq(ncid, &dims, &vars, &globals, &unlimited);
    std::vector<std::string> dimNames(static_cast<size_t>(dims));
    for (int d = 0; d < dims; ++d) {
        char name[NC_MAX_NAME + 1] = {};
        size_t length = 0;
        nc_inq_dim(ncid, d, name, &length);
        c.Dims[dimNames[static_cast<size_t>(d)] = name] = length;
    }
    for (int v = 0; v < vars; ++v) {
        char name[NC_MAX_NAME + 1] = {};
        int ndims = 0, dimIds[NC_MAX_VAR_DIMS], natts = 0;
        NcVar var;
        nc_inq_var(ncid, v, name, &var.Type, &ndims, dimIds, &natts);
        size_t count = 1;
        for (int i = 0; i < ndims; ++i)
            count *= c.Dims[var.Dims.emplace_back(dimNames[static_cast<size_t>(dimIds[i])])];
        var.Values.resize(count);
        if (count > 0) {
            EXPECT_EQ(nc_get_var_double(ncid, v, var.Values.data()), NC_NOERR) << name;
        }
        ReadAttrs(ncid, v, natts, var);
        c.Vars[name] = std::move(var);
    }
    ReadAttrs(ncid, NC_GLOBAL, globals, c.Global);
    nc_close(ncid);
    return c;
}

// Seconds from 1 January of firstYear to a time stamp, by the standard calendar.
inline double SecondsSince(int firstYear, int y, int mo, int d, double secondsOfDay) {
    using namespace std::chrono;
    const auto days = sys_days{year{y} / mo / d} - sys_days{year{firstYear} / 1 / 1};
    return static_cast<double>(days.count()) * 86400.0 + secondsOfDay;
}

} // namespace mvx::test

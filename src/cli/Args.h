#pragma once
// A small argument reader for marevox-cli: positional words and --name [value] options.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mvx::cli {

class Args {
  public:
    // argv[0] is the command word; flags lists options that take no value.
    Args(int argc, char** argv, const std::vector<std::string>& flags);
    const std::vector<std::string>& Positional() const { return positional_; }
    bool Has(const std::string& name) const { return values_.count(name) > 0; }
    std::string Get(const std::string& name, const std::string& fallback = "") const;
    // Parses an integer option; a malformed value is reported through ok = false.
    int64_t GetInt(const std::string& name, int64_t fallback, bool* ok = nullptr) const;
    double GetDouble(const std::string& name, double fallback, bool* ok = nullptr) const;
    // Options given that are not in known (for a clear usage message).
    std::vector<std::string> Unknown(const std::vector<std::string>& known) const;
    const std::string& Error() const { return error_; }

  private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> values_;
    std::string error_;
};

} // namespace mvx::cli

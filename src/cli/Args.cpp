#include "cli/Args.h"

#include <algorithm>
#include <cstdlib>

namespace mvx::cli {

Args::Args(int argc, char** argv, const std::vector<std::string>& flags) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word.rfind("--", 0) == 0 && word.size() > 2) {
            std::string name = word.substr(2);
            auto eq = name.find('=');
            if (eq != std::string::npos) {
                values_[name.substr(0, eq)] = name.substr(eq + 1);
            } else if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
                values_[name] = "1";
            } else if (i + 1 < argc) {
                values_[name] = argv[++i];
            } else {
                error_ = "option --" + name + " needs a value";
            }
        } else {
            positional_.push_back(word);
        }
    }
}

std::string Args::Get(const std::string& name, const std::string& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

int64_t Args::GetInt(const std::string& name, int64_t fallback, bool* ok) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallback;
    char* end = nullptr;
    long long v = std::strtoll(it->second.c_str(), &end, 10);
    if (end == it->second.c_str() || *end != '\0') {
        if (ok) *ok = false;
        return fallback;
    }
    return v;
}

double Args::GetDouble(const std::string& name, double fallback, bool* ok) const {
    auto it = values_.find(name);
    if (it == values_.end()) return fallback;
    char* end = nullptr;
    double v = std::strtod(it->second.c_str(), &end);
    if (end == it->second.c_str() || *end != '\0') {
        if (ok) *ok = false;
        return fallback;
    }
    return v;
}

std::vector<std::string> Args::Unknown(const std::vector<std::string>& known) const {
    std::vector<std::string> out;
    for (const auto& [name, value] : values_)
        if (std::find(known.begin(), known.end(), name) == known.end()) out.push_back(name);
    return out;
}

} // namespace mvx::cli

// Arbitrary bytes as a report file: the reader must refuse or load without reading outside its input,
// and whatever it loads must be a consistent snapshot no larger than the input.
#include "analysis/ReportFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    mvx::ReportSnapshot snapshot;
    std::string error;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!mvx::Read_Report_Text(bytes, snapshot, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (!snapshot.Consistent()) std::abort();
    // The matrix can never outgrow the input.
    if (snapshot.Matrix.size() > size + 1) std::abort();
    return 0;
}

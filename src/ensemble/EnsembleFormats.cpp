#include "ensemble/EnsembleFormats.h"

#include "ensemble/EnsembleLayout.h"
#include "ensemble/FileDetails.h"

namespace mvx {

namespace {

const EnsembleFormat kNarrowbandFormat{kNarrowband,
                                       "NB ",
                                       "NarrowBand",
                                       "Narrowband",
                                       "115.0 kHz",
                                       kNarrowbandFraming,
                                       Find_Narrowband_Ensemble,
                                       Decode_Narrowband_Ensemble,
                                       Decode_Narrowband_Leader,
                                       Narrowband_Ensemble_Number};
const EnsembleFormat kBroadbandFormat{kBroadband,
                                      "BB/LX ",
                                      "BB/LX/MX",
                                      "Broadband",
                                      "2457.6 kHz",
                                      kBroadbandFraming,
                                      Find_Broadband_Ensemble,
                                      Decode_Broadband_Ensemble,
                                      Decode_Broadband_Leaders,
                                      Broadband_Ensemble_Number};

} // namespace

const EnsembleFormat* Ensemble_Format(int32_t structure) {
    if (structure == kNarrowband) return &kNarrowbandFormat;
    if (structure == kBroadband) return &kBroadbandFormat;
    return nullptr;
}

const char* System_Frequency_Name(int32_t code, int32_t structure) {
    static const char* const kNames[] = {"76.8 kHz",   "153.6 kHz", "307.2 kHz", "614.4 kHz",
                                         "1228.8 kHz", nullptr,     "38.4 kHz",  nullptr};
    if (code < 0 || code > 7) return nullptr;
    if (code != 5) return kNames[code];
    const EnsembleFormat* format = Ensemble_Format(structure);
    return format ? format->Frequency5 : nullptr;
}

bool Is_Nvram_Block(const EnsembleFrame& frame) {
    return frame.EnsembleBuffer.size() > broadband::kDataTypeCount &&
           Is_Nvram_Block(frame.EnsembleBytes, frame.EnsembleBuffer[broadband::kDataTypeCount]);
}

} // namespace mvx

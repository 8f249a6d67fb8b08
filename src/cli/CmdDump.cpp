// marevox-cli dump FILE [--first E] [--last E] [--raw] [--options FILE]: every valid ensemble of a file,
// decoded into one data-set slot, as one JSON object per line.
#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "dataset/FileStats.h"
#include "dataset/VelocityProcessing.h"
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"
#include "options/OptionsFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace mvx::cli {

namespace {

constexpr const char* kUsage =
    "usage: marevox-cli dump FILE [--first E] [--last E] [--raw] [--options FILE]\n";

template <typename T>
void Rows(JsonWriter& json, const char* key, const SlotArray<T>& a, int rows, int bins, int slot) {
    json.Key(key);
    json.BeginArray();
    for (int row = 0; row < rows; ++row) {
        json.BeginArray();
        for (int bin = 0; bin < bins; ++bin) json.Int(a(row, bin, slot));
        json.EndArray();
    }
    json.EndArray();
}

template <typename T> void Row(JsonWriter& json, const char* key, const SlotArray<T>& a, int rows, int slot) {
    json.Key(key);
    json.BeginArray();
    for (int row = 0; row < rows; ++row) json.Int(a(row, slot));
    json.EndArray();
}

void WriteEnsemble(JsonWriter& json, const InstrumentSetup& setup, const DataSet& data, int slot) {
    const int cells = std::clamp<int32_t>(setup.NumCells, 0, kMaxBins);
    json.Clear();
    json.BeginObject();
    json.Key("EnsNumbers");
    json.Int(data.EnsNumbers[slot]);
    Row(json, "EnsTimes", data.EnsTimes, 7, slot);
    Row(json, "AncData", data.AncData, 8, slot);
    Rows(json, "VelData", data.VelData, 8, cells, slot);
    Rows(json, "CorrData", data.CorrData, 5, cells, slot);
    Rows(json, "IntensityData", data.IntensityData, 5, cells, slot);
    Rows(json, "PGoodData", data.PGoodData, 4, cells, slot);
    Row(json, "BTRangeData", data.BTRangeData, 5, slot);
    Row(json, "BTVelData", data.BTVelData, 6, slot);
    Row(json, "RefVelData", data.RefVelData, 6, slot);
    Row(json, "RefVelWork", data.RefVelWork, 6, slot);
    Row(json, "NavData", data.NavData, 6, slot);
    json.Key("LatData");
    json.Int(data.LatData[slot]);
    json.Key("LonData");
    json.Int(data.LonData[slot]);
    json.Key("NavFirstLat");
    json.Int(data.NavFirstLat[slot]);
    json.Key("NavFirstLon");
    json.Int(data.NavFirstLon[slot]);
    json.Key("NavLastLat");
    json.Int(data.NavLastLat[slot]);
    json.Key("NavLastLon");
    json.Int(data.NavLastLon[slot]);
    json.Key("TextData");
    json.String(data.TextData[slot]);
    json.Key("NumCells");
    json.Int(setup.NumCells);
    json.Key("SystemConfig");
    json.Int(setup.SystemConfig);
    json.Key("CoordTransform");
    json.Int(setup.CoordTransform);
    json.EndObject();
}

} // namespace

int RunDump(int argc, char** argv) {
    const std::vector<std::string> known{"first", "last", "raw", "options"};
    Args args(argc, argv, {"raw"});
    bool ok = true;
    const int64_t first = args.GetInt("first", std::numeric_limits<int64_t>::min(), &ok);
    const int64_t last = args.GetInt("last", std::numeric_limits<int64_t>::max(), &ok);
    if (!ok || !args.Error().empty() || !args.Unknown(known).empty() || args.Positional().size() != 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& path = args.Positional().front();

    Options options;
    Load_Default_Options(options);
    if (args.Has("options")) {
        const std::string optionsPath = args.Get("options");
        std::error_code ec;
        if (!std::filesystem::is_regular_file(optionsPath, ec)) {
            std::fprintf(stderr, "marevox-cli dump: cannot read options file %s\n", optionsPath.c_str());
            return 1;
        }
        if (!Load_Options(options, optionsPath))
            std::fprintf(stderr,
                         "marevox-cli dump: %s is not an options file of this version; using defaults\n",
                         optionsPath.c_str());
    }

    EnsembleFile file;
    if (!file.Open(path)) {
        std::fprintf(stderr, "marevox-cli dump: cannot open %s\n", path.c_str());
        return 1;
    }
    EnsembleFrame frame;
    const int32_t structure = Determine_File_Data_Structure(file, frame, {});
    if (structure == kStructureUnknown) {
        std::fprintf(stderr, "marevox-cli dump: no valid ensemble in %s\n", path.c_str());
        return 0;
    }

    DataSet data;
    Allocate_Data_Set(data, 1, 1, false);
    InstrumentSetup setup;
    DecodeSettings settings;
    settings.WaterVelScale = options.WaterVelScale;
    settings.BottomVelScale = options.BottomVelScale;
    settings.WaterDensity = options.WaterDensity;
    bool fileValid = true;
    settings.FileValid = fileValid;
    const bool raw = args.Has("raw");
    constexpr int kSlot = 0;

    JsonWriter json;
    while (!file.AtEnd()) {
        if (!Get_Next_Ensemble(structure, file, frame, fileValid, {})) continue;
        Clear_Slot(data, kSlot);
        Decode_Ensemble(structure, frame, setup, data, kSlot, settings, fileValid);
        const int64_t number = data.EnsNumbers[kSlot];
        if (number < first || number > last) continue;
        if (!raw) {
            End_Of_Profile(setup, options, data, kSlot);
            Process_Velocities(setup, options, data, kSlot);
        }
        WriteEnsemble(json, setup, data, kSlot);
        std::fwrite(json.Text().data(), 1, json.Text().size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::ferror(stdout) ? 1 : 0;
}

} // namespace mvx::cli

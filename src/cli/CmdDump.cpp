// marevox-cli dump FILE [--first E] [--last E] [--raw] [--options FILE] [--track bottom|navigation|ANGLE]:
// every valid ensemble of a file, decoded into one data-set slot, as one JSON object per line.
#include "cli/CmdTrack.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/JsonWriter.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"
#include "dataset/FileStats.h"
#include "dataset/VelocityProcessing.h"
#include "ensemble/Decoder.h"
#include "ensemble/Framing.h"
#include "model/DataSet.h"
#include "options/OptionsFile.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>

namespace mvx::cli {

namespace {

struct DumpOptions {
    std::string Path, OptionsPath;
    int64_t First = std::numeric_limits<int64_t>::min();
    int64_t Last = std::numeric_limits<int64_t>::max();
    bool Raw = false;
    std::optional<TrackChoice> Track;
};

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

int RunDump(const DumpOptions& o) {
    Options options;
    Load_Default_Options(options);
    if (!o.OptionsPath.empty()) {
        if (const std::string problem = InputProblem(o.OptionsPath); !problem.empty())
            return Failure("dump", o.OptionsPath + ": " + problem);
        if (!Load_Options(options, o.OptionsPath))
            std::fprintf(stderr,
                         "marevox-cli dump: %s is not an options file of this version; using defaults\n",
                         o.OptionsPath.c_str());
    }

    const std::string& path = o.Path;
    if (const std::string problem = InputProblem(path); !problem.empty())
        return Failure("dump", path + ": " + problem);
    EnsembleFile file;
    if (!file.Open(path)) return Failure("dump", path + ": unreadable");
    EnsembleFrame frame;
    const int32_t structure = Determine_File_Data_Structure(file, frame, {});
    if (structure == kStructureUnknown) return Failure("dump", path + ": no ensemble found");

    DataSet data;
    Allocate_Data_Set(data, 1, 1, false);
    InstrumentSetup setup;
    DecodeSettings settings;
    settings.WaterVelScale = options.WaterVelScale;
    settings.BottomVelScale = options.BottomVelScale;
    settings.WaterDensity = options.WaterDensity;
    bool fileValid = true;
    settings.FileValid = fileValid;
    constexpr int kSlot = 0;

    JsonWriter json;
    while (!file.AtEnd()) {
        if (!Get_Next_Ensemble(structure, file, frame, fileValid, {})) continue;
        Clear_Slot(data, kSlot);
        Decode_Ensemble(structure, frame, setup, data, kSlot, settings, fileValid);
        const int64_t number = data.EnsNumbers[kSlot];
        if (number < o.First || number > o.Last) continue;
        if (!o.Raw) {
            End_Of_Profile(setup, options, data, kSlot);
            Process_Velocities(setup, options, data, kSlot);
        }
        if (o.Track) Rotate_Track_Data(data, kSlot + 1, setup.NumCells, o.Track->Projection, o.Track->Angle);
        WriteEnsemble(json, setup, data, kSlot);
        std::fwrite(json.Text().data(), 1, json.Text().size(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}

} // namespace

CommandRun AddDump(CLI::App& root) {
    CLI::App* app = root.add_subcommand(
        "dump", "Every valid ensemble of a file, decoded and processed, as one JSON object per line.");
    auto o = std::make_shared<DumpOptions>();
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    AddWholeNumber(*app, "--first", "E", o->First, "the first ensemble number to print");
    AddWholeNumber(*app, "--last", "E", o->Last, "the last ensemble number to print");
    app->add_flag("--raw", o->Raw,
                  "the decoded values without end-of-profile trimming and velocity processing");
    app->add_option("--options", o->OptionsPath, "an options file whose processing settings to use")
        ->type_name("FILE");
    AddTrackOption(*app, o->Track);
    return [o] { return RunDump(*o); };
}

} // namespace mvx::cli

#pragma once
// Small ensemble files for the export tests, built by the simulated instrument's encoder from values
// chosen here, so that every exported number can be worked out by hand; the loaded state; a writer run
// into a scratch file; and a Level 4 MAT read-back through matio.
#include "TestSupport.h"

#include "common/OutputFile.h"
#include "dataset/Loader.h"
#include "export/ExportReader.h"
#include "export/ExportSelection.h"
#include "model/CoreState.h"
#include "simulator/EnsembleEncoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#if MARVOX_HAVE_MATIO
#include <matio.h>
#endif

namespace mvx::test {

// The three-ensemble, two-cell file of the golden files (down-looking; cell 0 nearest the transducer).
// Velocity east, north: ens 1 (300, 400) (-100, 0); ens 2 (0, -250) (bad, 50); ens 3 (120, -50) (-7, -24).
inline EnsembleContents TinyEnsemble(int number) {
    const int i = number - 1;
    EnsembleContents c;
    c.Fixed.SystemConfig = 0x414A; // 307.2 kHz, down-looking, earth coordinates below
    c.Fixed.NumCells = 2;
    c.Fixed.PingsPerEnsemble = 45;
    c.Fixed.CellLength = 50;
    c.Fixed.Bin1Distance = 251;
    c.Fixed.TimePerPing[0] = 0;
    c.Fixed.TimePerPing[1] = 1;
    c.Fixed.TimePerPing[2] = 50;
    c.Fixed.CoordTransform = 0x1F;

    auto& v = c.Variable;
    v.EnsembleNumber = static_cast<uint32_t>(number);
    v.Year = 26;
    v.Month = 6;
    v.Day = 14;
    v.Hour = 12;
    const uint8_t minutes[3] = {0, 0, 1}, seconds[3] = {0, 30, 1}, hundredths[3] = {0, 50, 0};
    v.Minute = minutes[i];
    v.Second = seconds[i];
    v.Hundredths = hundredths[i];
    const int16_t pitch[3] = {123, -5, -250}, temperature[3] = {1234, -150, 2000};
    const uint16_t heading[3] = {35000, 9000, 1}, depthDm[3] = {123, 7, 0}, bit[3] = {258, 0, 65535};
    const uint8_t battery[3] = {150, 151, 255};
    v.Pitch = pitch[i];
    v.Roll = 77;
    v.Heading = heading[i];
    v.Temperature = temperature[i];
    v.DepthDm = depthDm[i];
    v.BitResult = bit[i];
    v.TransmitVoltage = battery[i];

    auto word = [](int x) { return static_cast<uint16_t>(static_cast<int16_t>(x)); };
    const int east[3][2] = {{300, -100}, {0, 0}, {120, -7}}, north[3][2] = {{400, 0}, {-250, 50}, {-50, -24}};
    c.Velocity.resize(2);
    for (int cell = 0; cell < 2; ++cell)
        c.Velocity[static_cast<size_t>(cell)] = {word(east[i][cell]), word(north[i][cell]),
                                                 word(cell ? 7 : -12), word(cell ? -3 : 5)};
    c.Velocity[1][0] = (number == 2) ? kBadVelocityWord : c.Velocity[1][0];
    const std::array<uint8_t, 4> echo[3][2] = {{{101, 102, 103, 104}, {90, 91, 92, 93}},
                                               {{60, 61, 62, 64}, {70, 70, 71, 71}},
                                               {{11, 12, 13, 14}, {21, 22, 23, 24}}};
    const std::array<uint8_t, 4> corr[3][2] = {{{200, 200, 200, 200}, {150, 150, 150, 150}},
                                               {{100, 110, 120, 130}, {1, 2, 2, 2}},
                                               {{50, 50, 50, 50}, {40, 40, 40, 40}}};
    const std::array<uint8_t, 4> pg[3][2] = {
        {{97, 1, 2, 0}, {3, 4, 5, 6}}, {{10, 20, 30, 40}, {0, 0, 99, 100}}, {{100, 0, 0, 0}, {55, 0, 0, 0}}};
    c.Echo = {echo[i][0], echo[i][1]};
    c.Correlation = {corr[i][0], corr[i][1]};
    c.PercentGood = {pg[i][0], pg[i][1]};

    // Bottom track: velocities and ranges; the reference layer's north component.
    c.HasBottomTrack = true;
    const int btWords[3][2] = {{100, 0}, {0, 200}, {-300, -400}};
    c.BottomTrack.Velocity = {word(btWords[i][0]), word(btWords[i][1]), word(5), word(1)};
    if (number == 2) c.BottomTrack.Velocity[0] = kBadVelocityWord;
    const int refWords[3][2] = {{10, 20}, {0, 0}, {0, -35}};
    c.BottomTrack.RefVelocity = {word(refWords[i][0]), word(refWords[i][1]), 0, 0};
    if (number == 2) c.BottomTrack.RefVelocity[1] = kBadVelocityWord;
    const std::array<uint32_t, 4> ranges[3] = {
        {1000, 1001, 1002, 1003}, {70000, 5, 0, 123456}, {1, 22, 333, 4444}};
    c.BottomTrack.Range = ranges[i];
    // Its position (read with the Strandex box): 30 and -60 degrees plus a step per ensemble.
    c.BottomTrack.CarriesPosition = true;
    c.BottomTrack.Latitude = 357913941 + i * 65536; // 29.99999997... degrees
    c.BottomTrack.Longitude = -715827883 - i * 65536;

    // Navigation: speed made good and its direction (90, 180, 45 degrees), first and last fixes that
    // step by 2^16 binary-angle units (0.0054931640625 degrees) per ensemble.
    c.HasNavigation = true;
    const uint16_t speed[3] = {1234, 500, 1000}, direction[3] = {16384, 32768, 8192};
    c.Navigation.SpeedMadeGood = speed[i];
    c.Navigation.DirectionMadeGood = direction[i];
    c.Navigation.FirstLatitude = 536870912 + i * 65536;    // 45 degrees
    c.Navigation.FirstLongitude = -1073741824 + i * 65536; // -90 degrees
    c.Navigation.LastLatitude = 536870912 + (i + 1) * 65536;
    c.Navigation.LastLongitude = -1073741824 + (i + 1) * 65536;

    c.HasText = true;
    c.Text = "T=12.50 #" + std::to_string(number);
    return c;
}

// Writes ensembles made by make(1..count) into path.
inline void WriteEnsembles(const std::filesystem::path& path, int count,
                           const std::function<EnsembleContents(int)>& make) {
    std::vector<uint8_t> bytes;
    for (int n = 1; n <= count; ++n) {
        const std::vector<uint8_t> e = EncodeBroadband(make(n));
        bytes.insert(bytes.end(), e.begin(), e.end());
    }
    WriteAll(path, bytes);
}

// A fresh state with the file opened as the program opens it.
struct LoadedFile {
    std::filesystem::path Path;
    CoreState State;
};

inline void OpenFile(LoadedFile& f) {
    ASSERT_TRUE(Load_Whole_Set(f.State, f.Path.string())) << f.State.Set.StatsText;
    ASSERT_TRUE(f.State.Set.FileValid);
}

inline std::filesystem::path TinyFilePath() {
    const std::filesystem::path path = ScratchDir() / "TINY.000";
    WriteEnsembles(path, 3, TinyEnsemble);
    return path;
}

// Runs a writer, reading through an export reader of the state, into a new scratch file and returns
// its bytes.
using Writer = std::function<bool(ExportReader&, ExportSelection&, OutputFile&)>;
inline std::string WriteToString(const CoreState& state, ExportSelection& sel, const Writer& writer) {
    const std::filesystem::path out = ScratchDir() / "out";
    OutputFile file;
    EXPECT_TRUE(file.Open(out.string())) << file.Error();
    ExportReader reader(state);
    EXPECT_TRUE(writer(reader, sel, file)) << file.Error();
    file.Close();
    return ReadText(out);
}

// The golden file, with its first-line placeholder replaced by the ensemble file's path.
inline std::string Golden(const std::string& name, const std::string& ensembleFile) {
    std::string text = ReadText(std::filesystem::path(MARVOX_TEST_SOURCE_DIR) / "export" / "golden" / name);
    EXPECT_FALSE(text.empty()) << "missing golden file " << name;
    const auto at = text.find("@PATH@");
    if (at != std::string::npos) text.replace(at, 6, ensembleFile);
    return text;
}

// Lines of a text file split at CR LF (the text after the last CR LF is the last element).
inline std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

inline std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t at; (at = line.find('\t', start)) != std::string::npos; start = at + 1)
        cells.push_back(line.substr(start, at - start));
    cells.push_back(line.substr(start));
    return cells;
}

#if MARVOX_HAVE_MATIO
// One variable as a Level 4 reader sees it.
struct MatVar {
    std::string Name;
    matio_types Stored = MAT_T_UNKNOWN; // element type of the record
    matio_classes Class = MAT_C_EMPTY;
    size_t Rows = 0, Columns = 0;
    std::vector<double> Values; // numeric data, column-major
    std::string Text;
};

inline std::vector<MatVar> ReadMat(const std::filesystem::path& path) {
    std::vector<MatVar> vars;
    mat_t* mat = Mat_Open(path.string().c_str(), MAT_ACC_RDONLY);
    EXPECT_NE(mat, nullptr) << "matio cannot open " << path;
    if (!mat) return vars;
    EXPECT_EQ(Mat_GetVersion(mat), MAT_FT_MAT4);
    // The record's own element type comes from its header; the data is then read (as double).
    while (matvar_t* info = Mat_VarReadNextInfo(mat)) {
        MatVar v;
        v.Name = info->name ? info->name : "";
        v.Stored = info->data_type;
        v.Class = info->class_type;
        EXPECT_EQ(info->rank, 2) << v.Name;
        v.Rows = info->dims[0];
        v.Columns = info->dims[1];
        Mat_VarFree(info);
        const size_t count = v.Rows * v.Columns;
        if (count > 0) {
            matvar_t* var = Mat_VarRead(mat, v.Name.c_str());
            EXPECT_NE(var, nullptr) << v.Name;
            if (var && var->class_type == MAT_C_CHAR)
                v.Text.assign(static_cast<const char*>(var->data), count);
            else if (var && var->class_type == MAT_C_DOUBLE)
                v.Values.assign(static_cast<const double*>(var->data),
                                static_cast<const double*>(var->data) + count);
            if (var) Mat_VarFree(var);
        }
        vars.push_back(std::move(v));
    }
    Mat_Close(mat);
    return vars;
}

inline const MatVar* FindVar(const std::vector<MatVar>& vars, const std::string& name) {
    for (const MatVar& v : vars)
        if (v.Name == name) return &v;
    return nullptr;
}

inline std::vector<std::string> VarNames(const std::vector<MatVar>& vars) {
    std::vector<std::string> names;
    for (const MatVar& v : vars) names.push_back(v.Name);
    return names;
}
#endif

} // namespace mvx::test

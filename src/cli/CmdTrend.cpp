// marevox-cli trend FILE [--first E --last E] [--candle N] [--passes W] [--line L] [--options FILE]: the
// trend window's text for a sub set, then the picked series, its trend and residuals as columns, then the
// residual statistics.
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Messages.h"
#include "cli/OptionChecks.h"
#include "cli/RenderWindows.h"

#include "analysis/Trend.h"
#include "analysis/TrendText.h"
#include "charts/TrendChart.h"
#include "common/NumberFormat.h"
#include "dataset/Loader.h"
#include "dataset/SeriesCandles.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>

namespace mvx::cli {

namespace {

struct TrendOptions {
    std::string Path, OptionsPath;
    std::optional<int32_t> First, Last, Candle, Line;
    int32_t Passes = 0;
};

// The program's texts are Latin-1 (the plus-minus and degree signs); standard output gets UTF-8.
void PrintLine(const std::string& latin1) {
    std::string out;
    for (const char ch : latin1) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    std::printf("%s\n", out.c_str());
}

std::string Column(double v, double scale) {
    return Fix_String(v == kMissing ? std::string() : FormatNumber(v * scale, "0.00"), ' ', 11);
}

int RunTrend(const TrendOptions& o) {
    CoreState core;
    if (const std::string problem = LoadInput(core, o.Path, o.OptionsPath); !problem.empty())
        return Failure("trend", problem);
    SetDescriptors& set = core.Set;
    if (o.First || o.Last) {
        const int32_t from = o.First.value_or(set.FirstEnsNumber);
        const int32_t to = o.Last.value_or(from + core.Opts.MaxSubEnsembles - 1);
        if (to < from) return UsageError("trend", "--last is below --first");
        if (!Read_File_Selection(core, from, to, false))
            return Failure("trend", "ensembles " + std::to_string(from) + " to " + std::to_string(to) +
                                        " could not be loaded");
    }
    if (!Compute_Candles(core)) return Failure("trend", "the series chart's choices give no candle to show");
    Candles& c = core.Series;
    c.TrendPasses = o.Passes;
    if (o.Candle) c.SelectedCandle = *Candle_Entry(std::to_string(*o.Candle), c.CandleCount);
    if (o.Line && !Pick_Table_Line(c, *o.Line - 1))
        return UsageError("trend", "--line " + std::to_string(*o.Line) + " is beyond the table's " +
                                       std::to_string(c.StatRowCount * c.StatGroupCount) + " lines");
    const TrendSeries t = Compute_Trend(c, core.Data);
    const StatText text = Show_Stat_Text(c, set.FirstEnsNumber, core.Setup.NumCells, set.OrientationBalance);
    for (size_t k = 0; k < text.Header.size(); ++k)
        PrintLine(text.Header[k] + (k == text.CandleLine ? text.CandleLabel : ""));
    for (const StatTableLine& line : text.Table) PrintLine(line.Text);
    PrintLine("");
    PrintLine(" Ensemble        Raw      Trend   Residual");
    const double scale = t.Direction ? 0.1 : 1.0;
    const int32_t first = c.Stat(CandleFirst, t.Candle, t.Row, t.Group);
    for (size_t i = 0; i < t.Raw.size(); ++i)
        PrintLine(Fix_String(std::to_string(set.FirstEnsNumber + first + static_cast<int32_t>(i)), ' ', 9) +
                  Column(t.Raw[i], scale) + Column(t.Trend[i], scale) + Column(t.Residual[i], scale));
    PrintLine("");
    PrintLine(Residual_Text(t));
    return 0;
}

} // namespace

bool Compute_Candles(CoreState& core) {
    const SetDescriptors& set = core.Set;
    // The series chart's choices; without a bin chosen, the first bin shown.
    std::array<bool, 256> bins = core.Opts.SeriesBinSelect;
    if (std::find(bins.begin() + 1, bins.end(), true) == bins.end())
        bins[static_cast<size_t>(std::clamp(set.FirstBinShown, 1, 255))] = true;
    const SeriesSelection selection = Series_Selection(core.Opts.SeriesDataTypes, bins);
    const CandleIntervals intervals =
        Candle_Intervals(set.CurrentEnsIndex, set.SetDuration, core.Opts.SeriesAverageOn,
                         core.Opts.SeriesAverageAll, core.Opts.SeriesAverageInterval);
    Compute_Series_Candles(core.Series, core.Data, set.CurrentEnsIndex, core.Setup.NumCells, selection,
                           intervals);
    return core.Series.CandleCount > 0;
}

CommandRun AddTrend(CLI::App& root) {
    CLI::App* app =
        root.add_subcommand("trend", "The trend window's statistics, trend and residuals of a sub set.");
    auto o = std::make_shared<TrendOptions>();
    app->add_option("FILE", o->Path, "an ensemble file")->required()->type_name("");
    AddWholeNumber(*app, "--first", "E", o->First, "the first ensemble of the sub set (default: the first)");
    AddWholeNumber(*app, "--last", "E", o->Last,
                   "the last ensemble of the sub set (default: as many as it holds)");
    AddWholeNumber(*app, "--candle", "N", o->Candle,
                   "the candle to show, from 1 (below 1 the first, beyond the count the last)");
    AddWholeNumber(*app, "--passes", "W", o->Passes, "smoothing passes, 0 to 50 (default 0)", 0, 50);
    AddWholeNumber(*app, "--line", "L", o->Line,
                   "the table line whose trend to show, from 1 as printed (default 1)", 1, INT32_MAX);
    app->add_option("--options", o->OptionsPath,
                    "an options file whose series choices (data types, bins, averaging interval) to use; "
                    "without a bin chosen the first bin shown is taken")
        ->type_name("FILE");
    return [o] { return RunTrend(*o); };
}

} // namespace mvx::cli

#include "export/ExportChoices.h"

#include "common/LeadingNumber.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace mvx {

namespace {

struct TypeName {
    const char* Frame; // "" for a box without a frame of its own
    std::vector<const char*> Names;
    int Box;
};

const std::vector<TypeName>& TypeNames() {
    static const std::vector<TypeName> names = [] {
        std::vector<TypeName> t;
        const std::vector<std::vector<const char*>> beams = {{"bm1", "beam1", "beam 1"},
                                                             {"bm2", "beam2", "beam 2"},
                                                             {"bm3", "beam3", "beam 3"},
                                                             {"bm4", "beam4", "beam 4"},
                                                             {"avg", "average"}};
        for (int b = 0; b < 5; ++b) t.push_back({"echo", beams[static_cast<size_t>(b)], b});
        for (int b = 0; b < 5; ++b) t.push_back({"corr", beams[static_cast<size_t>(b)], 5 + b});
        const std::vector<std::vector<const char*>> components = {
            {"east (u)", "east", "u"},
            {"north (v)", "north", "v"},
            {"vertical (w)", "vertical", "vert (w)", "vert", "w"},
            {"error"},
            {"magnitude", "mag"},
            {"direction", "dir"}};
        for (int c = 0; c < 6; ++c) t.push_back({"vel", components[static_cast<size_t>(c)], 10 + c});
        for (int p = 0; p < 4; ++p) {
            static const char* const kPg[4] = {"pg1", "pg2", "pg3", "pg4"};
            t.push_back({"pg", {kPg[p]}, 16 + p});
        }
        for (int c = 0; c < 6; ++c)
            t.push_back({"bt", components[static_cast<size_t>(c)], kSeriesBottomTrack + c});
        t.push_back({"bt", {"depth", "bt depth"}, kSeriesBTDepth});
        for (int c = 0; c < 6; ++c)
            t.push_back({"wm", components[static_cast<size_t>(c)], kSeriesWaterMass + c});
        t.push_back({"nv", components[0], kSeriesNavEast});
        t.push_back({"nv", components[1], kSeriesNavNorth});
        t.push_back({"nv", components[4], kSeriesNavMag});
        t.push_back({"nv", components[5], kSeriesNavDir});
        t.push_back({"nv", {"lat/lon", "latlon"}, kSeriesLatLon});
        t.push_back({"nv", {"strandex"}, kSeriesStrandex});
        t.push_back({"", {"microcat"}, kSeriesMicroCAT});
        return t;
    }();
    return names;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& list) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        const std::string word =
            Trim(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!word.empty()) words.push_back(word);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return words;
}

std::string Qualified(const TypeName& t) {
    return *t.Frame ? std::string(t.Frame) + ":" + t.Names.front() : std::string(t.Names.front());
}

// The box a word names among the boxes below boxLimit, or -1 with a message.
int FindBox(const std::string& word, int boxLimit, std::string& error) {
    const std::string w = Lower(word);
    const auto colon = w.find(':');
    const std::string frame = colon == std::string::npos ? "" : Trim(w.substr(0, colon));
    const std::string name = colon == std::string::npos ? w : Trim(w.substr(colon + 1));
    std::vector<const TypeName*> found;
    for (const TypeName& t : TypeNames()) {
        if (t.Box >= boxLimit) continue;
        if (colon != std::string::npos && frame != t.Frame) continue;
        if (std::any_of(t.Names.begin(), t.Names.end(), [&](const char* n) { return name == n; }))
            found.push_back(&t);
    }
    if (found.size() == 1) return found.front()->Box;
    if (found.empty()) {
        error = "unknown data type \"" + word + "\"";
        return -1;
    }
    error = "\"" + word + "\" is ambiguous: say";
    for (size_t i = 0; i < found.size(); ++i) error += (i ? " or " : " ") + Qualified(*found[i]);
    return -1;
}

} // namespace

bool ParseExportTypes(ExportKind kind, const std::string& list, ExportSelection& selection,
                      std::string& error) {
    const std::vector<std::string> words = Words(list);
    const int limit = kind == ExportKind::Series ? kSeriesBoxes : kExportDataTypes;
    std::vector<int> boxes;
    for (const std::string& word : words) {
        const int box = FindBox(word, limit, error);
        if (box < 0) return false;
        boxes.push_back(box);
    }
    switch (kind) {
    case ExportKind::Contour:
        if (boxes.size() != 1) {
            error = "a contour export takes exactly one data type";
            return false;
        }
        selection.ContourType = boxes.front();
        return true;
    case ExportKind::Profile:
        selection.ProfileTypes.fill(false);
        for (int b : boxes) selection.ProfileTypes[static_cast<size_t>(b)] = true;
        return true;
    case ExportKind::Series:
        selection.SeriesTypes.fill(false);
        for (int b : boxes) selection.SeriesTypes[static_cast<size_t>(b)] = true;
        return true;
    }
    return false;
}

bool ParseAncTypes(const std::string& list, ExportSelection& selection, std::string& error) {
    static const std::vector<std::vector<const char*>> kNames = {
        {"pitch"}, {"roll"},        {"heading"}, {"temperature", "temp"},
        {"depth"}, {"orientation"}, {"bit"},     {"battery"}};
    selection.AncTypes.fill(false);
    for (const std::string& word : Words(list)) {
        const std::string w = Lower(word);
        bool found = false;
        for (size_t k = 0; k < kNames.size() && !found; ++k) {
            if (std::any_of(kNames[k].begin(), kNames[k].end(), [&](const char* n) { return w == n; })) {
                selection.AncTypes[k] = true;
                found = true;
            }
        }
        if (!found) {
            error = "unknown ancillary type \"" + word + "\"";
            return false;
        }
    }
    return true;
}

bool ParseBinList(const std::string& text, int numCells, BinList& bins, std::string& error) {
    BinList chosen;
    const std::string t = Lower(Trim(text));
    if (t == "all") {
        chosen.SelectAll(numCells);
        bins = chosen;
        return true;
    }
    auto number = [&](const std::string& s, int& out) {
        if (s.empty() || !std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }) ||
            s.size() > 3)
            return false;
        out = static_cast<int>(LeadingDigits(s));
        return out >= 1 && out <= kBinListItems;
    };
    for (const std::string& word : Words(t)) {
        const auto dash = word.find('-');
        int from = 0, to = 0;
        const bool ok = dash == std::string::npos ? number(word, from) && ((to = from), true)
                                                  : number(Trim(word.substr(0, dash)), from) &&
                                                        number(Trim(word.substr(dash + 1)), to);
        if (!ok || to < from) {
            error = "bad bin list entry \"" + word + "\" (bins are 1.." + std::to_string(kBinListItems) + ")";
            return false;
        }
        for (int m = from; m <= to; ++m) chosen.Select(m);
    }
    bins = chosen;
    return true;
}

} // namespace mvx

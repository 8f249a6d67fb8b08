// marevox-cli dump: one valid JSON object per ensemble, the decoded values, selection and errors.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <regex>
#include <sstream>

namespace mvx {
namespace {

// A strict JSON reader for the tests: numbers, strings (\u escapes up to U+00FF kept as one byte),
// arrays, objects in key order, true/false/null. Any syntax error fails the parse.
struct Json {
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json& operator[](const std::string& key) const {
        for (const auto& [k, v] : members)
            if (k == key) return v;
        static const Json none;
        ADD_FAILURE() << "missing key " << key;
        return none;
    }
    const Json& operator[](size_t i) const { return items.at(i); }
    int64_t Int() const { return static_cast<int64_t>(number); }
};

bool ParseString(const std::string& s, size_t& i, std::string& out) {
    const std::string from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
    for (++i; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i++]);
        if (c == '"') return true;
        if (c < 0x20 || c >= 0x80) return false; // the writer escapes everything else
        if (c != '\\') {
            out += static_cast<char>(c);
        } else if (i < s.size() && from.find(s[i]) != std::string::npos) {
            out += to[from.find(s[i++])];
        } else if (i + 5 <= s.size() && s[i] == 'u' &&
                   std::all_of(s.begin() + i + 1, s.begin() + i + 5, ::isxdigit)) {
            const unsigned long code = std::stoul(s.substr(i + 1, 4), nullptr, 16);
            i += 5;
            if (code > 0xFF) return false;
            out += static_cast<char>(code);
        } else {
            return false;
        }
    }
    return false;
}

bool ParseValue(const std::string& s, size_t& i, Json& v) {
    auto eat = [&](char c) {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
        return i < s.size() && s[i] == c ? (++i, true) : false;
    };
    if (eat('[')) {
        if (eat(']')) return true;
        do {
            if (!ParseValue(s, i, v.items.emplace_back())) return false;
        } while (eat(','));
        return eat(']');
    }
    if (eat('{')) {
        if (eat('}')) return true;
        do {
            auto& m = v.members.emplace_back();
            if (!eat('"') || !ParseString(s, --i, m.first) || !eat(':') || !ParseValue(s, i, m.second))
                return false;
        } while (eat(','));
        return eat('}');
    }
    if (eat('"')) return ParseString(s, --i, v.text);
    for (const std::string w : {"true", "false", "null"})
        if (s.compare(i, w.size(), w) == 0) return i += w.size(), true;
    static const std::regex number(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)");
    std::smatch m;
    if (!std::regex_search(s.begin() + i, s.end(), m, number, std::regex_constants::match_continuous))
        return false;
    v.number = std::stod(m.str());
    i += m.length();
    return true;
}

bool ParseJson(const std::string& s, Json& out) {
    size_t i = 0;
    if (!ParseValue(s, i, out)) return false;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return i == s.size();
}

// Runs dump and parses every output line; fails the test on any line that is not valid JSON.
std::vector<Json> Dump(const std::string& args, int* status = nullptr, std::string* err = nullptr) {
    std::string out;
    const int rc = test::RunCli("dump " + args, &out, err);
    if (status)
        *status = rc;
    else
        EXPECT_EQ(rc, 0) << args;
    std::vector<Json> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        Json j;
        EXPECT_TRUE(ParseJson(line, j)) << "not JSON: " << line.substr(0, 200);
        lines.push_back(std::move(j));
    }
    return lines;
}

using Bytes = std::vector<uint8_t>;

// A broadband ensemble of one text block.
Bytes TextEnsemble(const std::string& text) {
    const size_t n = 10 + text.size() + 1;
    Bytes e(n, 0);
    const uint8_t head[10] = {0x7F, 0x7F, 0, 0, 0, 1, 8, 0, 0x03, 0x07};
    std::copy(head, head + 10, e.begin());
    std::copy(text.begin(), text.end(), e.begin() + 10);
    e[2] = n & 0xFF;
    e[3] = (n >> 8) & 0xFF;
    const unsigned sum = std::accumulate(e.begin(), e.end(), 0u);
    e.push_back(sum & 0xFF);
    e.push_back((sum >> 8) & 0xFF);
    return e;
}

std::string Scratch(const Bytes& bytes) {
    const auto path = test::ScratchDir() / "dump.bin";
    test::WriteAll(path, bytes);
    return path.string();
}

const char* kKeys[] = {"EnsNumbers",    "EnsTimes",      "AncData",     "VelData",   "CorrData",
                       "IntensityData", "PGoodData",     "BTRangeData", "BTVelData", "RefVelData",
                       "RefVelWork",    "NavData",       "LatData",     "LonData",   "NavFirstLat",
                       "NavFirstLon",   "NavLastLat",    "NavLastLon",  "TextData",  "NumCells",
                       "SystemConfig",  "CoordTransform"};

TEST(DumpCommand, RawDumpOfARealFileHasEveryKeyAndTheRecordedValues) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    const auto lines = Dump("--raw \"" + test::DataFile("up600_beam_9ens.000") + "\"");
    ASSERT_EQ(lines.size(), 9u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const Json& j = lines[i];
        ASSERT_EQ(j.members.size(), std::size(kKeys));
        for (size_t k = 0; k < std::size(kKeys); ++k) EXPECT_EQ(j.members[k].first, kKeys[k]);
        EXPECT_EQ(j["EnsNumbers"].Int(), static_cast<int64_t>(i + 1));
        EXPECT_EQ(j["NumCells"].Int(), 84);
        const std::pair<const char*, size_t> rows[] = {
            {"EnsTimes", 7},      {"AncData", 8},    {"VelData", 8},     {"CorrData", 5},
            {"IntensityData", 5}, {"PGoodData", 4},  {"BTRangeData", 5}, {"BTVelData", 6},
            {"RefVelData", 6},    {"RefVelWork", 6}, {"NavData", 6}};
        for (const auto& [key, count] : rows) EXPECT_EQ(j[key].items.size(), count) << key;
        for (const auto& row : j["VelData"].items) EXPECT_EQ(row.items.size(), 84u);
    }
    // Rows are beams, columns bins; up-looking, so cell c is bin c.
    const Json& first = lines[0];
    EXPECT_EQ(first["VelData"][1][0].Int(), 35);
    EXPECT_EQ(first["VelData"][0][1].Int(), 49);
    EXPECT_EQ(first["AncData"][1].Int(), -239);
    EXPECT_EQ(first["CorrData"][1][0].Int(), 22);
    EXPECT_EQ(lines[8]["EnsTimes"][5].Int(), 20);
    EXPECT_EQ(first["VelData"][4][0].Int(), 0); // no magnitude without processing
}

TEST(DumpCommand, SelectionByEnsembleNumber) {
    SKIP_WITHOUT_DATA_FILE("down600_earth_bt.000");
    const auto lines = Dump("--raw --first 1000 --last 1002 " + test::DataFile("down600_earth_bt.000"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["EnsNumbers"].Int(), 1000);
    EXPECT_EQ(lines[2]["EnsNumbers"].Int(), 1002);
}

TEST(DumpCommand, TextIsEscapedIntoValidJson) {
    const std::string text = "say \"hi\"\\ \x01\n\t\x7F \xB0\xFF";
    const auto lines = Dump("--raw " + Scratch(TextEnsemble(text)));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["TextData"].text, text);
}

TEST(DumpCommand, RandomBytesGiveValidOutput) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3; ++round) {
        Bytes junk(20000 + rng() % 20000);
        for (auto& b : junk) b = static_cast<uint8_t>(rng() % 4 == 0 ? 0x7F : rng());
        const Bytes good = TextEnsemble("ok");
        junk.insert(junk.begin() + static_cast<long>(rng() % junk.size()), good.begin(), good.end());
        // Every line parses; a file whose structure is not found says so with status 1 and no output.
        int status = 0;
        const auto lines = Dump("--raw " + Scratch(junk), &status);
        EXPECT_TRUE(status == 0 || (status == 1 && lines.empty())) << status;
    }
}

} // namespace
} // namespace mvx

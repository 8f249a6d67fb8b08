// marevox-cli dump: one valid JSON object per ensemble, the decoded values, selection and errors.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
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

class JsonParser {
  public:
    explicit JsonParser(const std::string& s) : s_(s) {}
    bool Parse(Json& out) { return Value(out) && (Space(), i_ == s_.size()); }

  private:
    void Space() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    bool Eat(char c) { return Space(), i_ < s_.size() && s_[i_] == c ? (++i_, true) : false; }
    bool Word(const std::string& w) {
        return s_.compare(i_, w.size(), w) == 0 ? (i_ += w.size(), true) : false;
    }
    bool Value(Json& v) {
        Space();
        if (Eat('{'))
            return List('}', [&] {
                std::string key;
                Json value;
                Space();
                const bool ok = i_ < s_.size() && s_[i_] == '"' && String(key) && Eat(':') && Value(value);
                v.members.emplace_back(key, std::move(value));
                return ok;
            });
        if (Eat('[')) return List(']', [&] { return Value(v.items.emplace_back()); });
        if (i_ < s_.size() && s_[i_] == '"') return String(v.text);
        if (Word("true") || Word("false") || Word("null")) return true;
        const size_t start = i_;
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        if (i_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[i_]))) return false;
        while (i_ < s_.size() && s_[i_] != '\0' && std::strchr("0123456789.eE+-", s_[i_])) ++i_;
        v.number = std::stod(s_.substr(start, i_ - start));
        return true;
    }
    template <typename Element> bool List(char close, Element element) {
        if (Eat(close)) return true;
        do {
            if (!element()) return false;
        } while (Eat(','));
        return Eat(close);
    }
    bool String(std::string& out) {
        ++i_; // opening quote
        while (i_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[i_++]);
            if (c == '"') return true;
            if (c < 0x20 || c >= 0x80) return false; // the writer escapes everything else
            if (c != '\\') {
                out += static_cast<char>(c);
            } else if (i_ < s_.size() && s_[i_] != '\0' && std::strchr("\"\\/bfnrt", s_[i_])) {
                const char* from = "\"\\/bfnrt";
                const char* to = "\"\\/\b\f\n\r\t";
                out += to[std::strchr(from, s_[i_++]) - from];
            } else if (i_ + 5 <= s_.size() && s_[i_] == 'u') {
                const unsigned long code = std::stoul(s_.substr(i_ + 1, 4), nullptr, 16);
                i_ += 5;
                if (code > 0xFF) return false;
                out += static_cast<char>(code);
            } else {
                return false;
            }
        }
        return false;
    }
    const std::string& s_;
    size_t i_ = 0;
};

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
        EXPECT_TRUE(JsonParser(line).Parse(j)) << "not JSON: " << line.substr(0, 200);
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

// A narrowband ensemble of a leader only (63 bytes, configuration 0x80, no cells).
Bytes NarrowbandEnsemble(uint16_t number) {
    Bytes e(14 + 63, 0);
    e[3] = 63;
    e[14 + 15] = number >> 8;
    e[14 + 16] = number & 0xFF;
    e[14 + 18] = 0x80;
    e[14 + 27] = 0x08; // temperature count 2048: 20 degC
    e[0] = 0;
    e[1] = static_cast<uint8_t>(e.size());
    const unsigned sum = std::accumulate(e.begin(), e.end(), 0u);
    e.push_back((sum >> 8) & 0xFF);
    e.push_back(sum & 0xFF);
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
    if (!test::HaveDataFile("up600_beam_9ens.000")) GTEST_SKIP();
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
    // Up-looking: cell c is bin c. Beam velocities of the first three cells and the attitude.
    const Json& first = lines[0];
    const int vel[3][4] = {{34, 35, 5, -18}, {49, 13, 81, -9}, {34, -9, 45, -80}};
    for (int cell = 0; cell < 3; ++cell)
        for (int beam = 0; beam < 4; ++beam) EXPECT_EQ(first["VelData"][beam][cell].Int(), vel[cell][beam]);
    EXPECT_EQ(first["AncData"][2].Int(), 27814);
    EXPECT_EQ(first["AncData"][0].Int(), 142);
    EXPECT_EQ(first["AncData"][1].Int(), -239);
    EXPECT_EQ(first["CorrData"][1][0].Int(), 22);
    EXPECT_EQ(first["EnsTimes"][0].Int(), 8);
    EXPECT_EQ(lines[8]["EnsTimes"][4].Int(), 1);
    EXPECT_EQ(lines[8]["EnsTimes"][5].Int(), 20);
    EXPECT_EQ(first["VelData"][4][0].Int(), 0); // no magnitude without processing
}

TEST(DumpCommand, SelectionByEnsembleNumber) {
    if (!test::HaveDataFile("down600_earth_bt.000")) GTEST_SKIP();
    const auto lines = Dump("--raw --first 1000 --last 1002 " + test::DataFile("down600_earth_bt.000"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["EnsNumbers"].Int(), 1000);
    EXPECT_EQ(lines[2]["EnsNumbers"].Int(), 1002);
    EXPECT_EQ(lines[0]["NumCells"].Int(), 17);
    EXPECT_EQ(lines[0]["VelData"][0].items.size(), 17u);
}

TEST(DumpCommand, ProcessedDumpDerivesMagnitudeAndDirection) {
    if (!test::HaveDataFile("SHIP300_000001.ENX")) GTEST_SKIP();
    const std::string file = test::DataFile("SHIP300_000001.ENX");
    const auto raw = Dump("--raw --first 1 --last 1 " + file);
    const auto processed = Dump("--first 1 --last 1 " + file);
    ASSERT_EQ(raw.size(), 1u);
    ASSERT_EQ(processed.size(), 1u);
    // Earth coordinates without a reference: rows 0..1 stay and row 4 becomes their magnitude.
    const Json& v = processed[0]["VelData"];
    int checked = 0;
    for (size_t bin = 0; bin < v[0].items.size(); ++bin) {
        const int64_t east = v[0][bin].Int(), north = v[1][bin].Int();
        if (east == -32768) continue;
        EXPECT_EQ(east, raw[0]["VelData"][0][bin].Int());
        EXPECT_EQ(v[4][bin].Int(), std::llround(std::hypot(east, north))) << bin;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(DumpCommand, TextIsEscapedIntoValidJson) {
    const std::string text = "say \"hi\"\\ \x01\n\t\x7F \xB0\xFF";
    const auto lines = Dump("--raw " + Scratch(TextEnsemble(text)));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["TextData"].text, text);
}

TEST(DumpCommand, NarrowbandFileIsRecognised) {
    Bytes file = NarrowbandEnsemble(41);
    const Bytes second = NarrowbandEnsemble(42);
    file.insert(file.end(), second.begin(), second.end());
    const auto lines = Dump("--raw " + Scratch(file));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["EnsNumbers"].Int(), 41);
    EXPECT_EQ(lines[1]["EnsNumbers"].Int(), 42);
    EXPECT_EQ(lines[0]["SystemConfig"].Int(), 17032);
    EXPECT_EQ(lines[0]["EnsTimes"][0].Int(), 80);
    EXPECT_EQ(lines[0]["AncData"][3].Int(), 2000);
}

TEST(DumpCommand, RandomBytesGiveValidOutput) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5; ++round) {
        Bytes junk(20000 + rng() % 20000);
        for (auto& b : junk) b = static_cast<uint8_t>(rng() % 4 == 0 ? 0x7F : rng());
        const Bytes good = TextEnsemble("ok");
        junk.insert(junk.begin() + static_cast<long>(rng() % junk.size()), good.begin(), good.end());
        int status = -1;
        Dump("--raw " + Scratch(junk), &status);
        EXPECT_EQ(status, 0);
    }
}

TEST(DumpCommand, ErrorsAreReported) {
    int status = 0;
    std::string err;
    auto lines = Dump("/no/such/file.000", &status, &err);
    EXPECT_NE(status, 0);
    EXPECT_NE(err.find("/no/such/file.000"), std::string::npos);
    EXPECT_TRUE(lines.empty());

    lines = Dump("--options /no/such/options.txt " + Scratch(TextEnsemble("x")), &status, &err);
    EXPECT_NE(status, 0);
    EXPECT_TRUE(lines.empty());

    Dump("--first x " + Scratch(TextEnsemble("x")), &status, &err);
    EXPECT_EQ(status, 2);
    Dump("", &status, &err);
    EXPECT_EQ(status, 2);
}

} // namespace
} // namespace mvx

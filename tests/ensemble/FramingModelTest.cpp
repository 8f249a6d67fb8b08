// The buffered search against a literal one-byte-per-step model of the search state machine, on random
// files of valid, damaged and truncated ensembles, stray bytes and long runs of zeros.
#include "EnsembleBuilder.h"
#include "ensemble/Framing.h"

#include <gtest/gtest.h>

#include <random>

namespace mvx {
namespace {

using test::Bytes;

// A file as the model sees it: 1-based positions, "at end" only after a short read, cleared by a seek.
struct ModelFile {
    Bytes data;
    int64_t pos = 0; // 0-based offset of the next byte
    bool atEnd = false;

    int ReadByte() {
        if (pos < static_cast<int64_t>(data.size())) return data[pos++];
        atEnd = true;
        return -1;
    }
    void Read(uint8_t* dest, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            if (pos < static_cast<int64_t>(data.size())) {
                dest[i] = data[pos++];
            } else {
                dest[i] = 0;
                atEnd = true;
            }
        }
    }
    void Seek(int64_t position) {
        pos = std::max<int64_t>(position, 1) - 1;
        atEnd = false;
    }
};

enum class State { Hunt1, Hunt2, ReadLength, Verify, Found };

// One state per step, exactly as the search is described; narrowband when nb is set.
bool ModelSearch(ModelFile& f, EnsembleFrame& frame, bool nb) {
    const int32_t saved = frame.EnsembleBytes;
    if (f.atEnd) return false;
    const int32_t limit = nb ? 65536 : 10000;
    int32_t bad = 0;
    int64_t p = 0;
    State state = State::Hunt1;
    for (;;) {
        switch (state) {
        case State::Hunt1: {
            const int b = f.ReadByte();
            p = f.pos;
            if (nb) {
                if (b == 0x3F && p > 3)
                    state = State::ReadLength;
                else
                    ++bad;
            } else {
                if (b == 0x7F)
                    state = State::Hunt2;
                else
                    ++bad;
            }
            break;
        }
        case State::Hunt2:
            state = f.ReadByte() == 0x7F ? State::ReadLength : State::Hunt1;
            break;
        case State::ReadLength: {
            uint8_t head[4];
            const int64_t start = nb ? p - 3 : p;
            if (nb) f.Seek(start);
            f.Read(head, 4);
            frame.EnsembleBytes = nb ? (head[0] << 8) | head[1] : head[0] | (head[1] << 8);
            f.Seek(start);
            frame.EnsembleBuffer.assign(static_cast<size_t>(frame.EnsembleBytes) + 2, 0);
            f.Read(frame.EnsembleBuffer.data(), frame.EnsembleBuffer.size());
            state = State::Verify;
            break;
        }
        case State::Verify: {
            const int32_t n = frame.EnsembleBytes;
            const auto& b = frame.EnsembleBuffer;
            uint32_t sum = 0;
            for (int32_t i = 0; i < n; ++i) sum += b[i];
            const uint16_t stored = nb ? (b[n] << 8) | b[n + 1] : b[n] | (b[n + 1] << 8);
            // Shorter than four bytes is never an ensemble (a zero-length one would not advance).
            if (n >= 4 && (sum & 0xFFFF) == stored) {
                state = State::Found;
            } else {
                f.Seek(p + 1);
                state = State::Hunt1;
            }
            break;
        }
        case State::Found:
            break;
        }
        if (state == State::Found) return true;
        if (bad >= limit || f.atEnd) break;
    }
    frame.EnsembleBytes = saved;
    return false;
}

Bytes RandomFile(std::mt19937& rng, bool nb) {
    Bytes out;
    std::uniform_int_distribution<int> pick(0, 9);
    const int pieces = std::uniform_int_distribution<int>(1, 25)(rng);
    for (int i = 0; i < pieces; ++i) {
        const int kind = pick(rng);
        const uint32_t number = static_cast<uint32_t>(i + 1);
        if (kind <= 3) {
            out = test::Concat({out, nb ? test::SimpleNarrowband(static_cast<uint16_t>(number))
                                        : test::SimpleBroadband(number, static_cast<uint8_t>(rng() % 40))});
        } else if (kind == 4) {
            Bytes e =
                nb ? test::SimpleNarrowband(static_cast<uint16_t>(number)) : test::SimpleBroadband(number, 5);
            e[rng() % e.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
            out = test::Concat({out, e});
        } else if (kind == 5) {
            out.resize(out.size() + rng() % 25000, 0); // long zero runs reach the bad-byte limits
        } else if (kind == 6) {
            // Header-like noise: many 0x7F and 0x3F bytes.
            const size_t n = rng() % 300;
            for (size_t k = 0; k < n; ++k) {
                const uint32_t r = rng() % 4;
                out.push_back(r == 0 ? 0x7F : r == 1 ? 0x3F : static_cast<uint8_t>(rng()));
            }
        } else {
            const size_t n = rng() % 2000;
            for (size_t k = 0; k < n; ++k) out.push_back(static_cast<uint8_t>(rng()));
        }
    }
    if (pick(rng) < 3 && !out.empty()) out.resize(out.size() - rng() % std::min<size_t>(out.size(), 40));
    return out;
}

void CompareOnRandomFiles(bool nb, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int round = 0; round < 60; ++round) {
        const Bytes bytes = RandomFile(rng, nb);
        ModelFile model{bytes};
        EnsembleFile file(4096 + rng() % 5000);
        ASSERT_TRUE(file.Open(test::WriteScratch(bytes)));
        EnsembleFrame expected, actual;
        expected.EnsembleBytes = actual.EnsembleBytes = 77;
        for (int call = 0; call < 5000 && !model.atEnd; ++call) {
            const bool want = ModelSearch(model, expected, nb);
            const bool got =
                nb ? Find_Narrowband_Ensemble(file, actual, {}) : Find_Broadband_Ensemble(file, actual, {});
            SCOPED_TRACE("round " + std::to_string(round) + " call " + std::to_string(call));
            ASSERT_EQ(got, want);
            ASSERT_EQ(actual.EnsembleBytes, expected.EnsembleBytes);
            ASSERT_EQ(file.NextPosition(), model.pos + 1);
            ASSERT_EQ(file.AtEnd(), model.atEnd);
            if (want) {
                ASSERT_EQ(actual.EnsembleBuffer, expected.EnsembleBuffer);
            }
        }
        EXPECT_TRUE(model.atEnd);
    }
}

TEST(SearchModel, BroadbandMatchesTheStepByStepSearch) {
    CompareOnRandomFiles(false, 12345);
}

TEST(SearchModel, NarrowbandMatchesTheStepByStepSearch) {
    CompareOnRandomFiles(true, 67890);
}

} // namespace
} // namespace mvx

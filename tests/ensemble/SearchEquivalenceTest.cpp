// The searches against their plain byte-by-byte readings (ReferenceSearch.h) on random files built from
// pieces that make searching hard: runs of sync bytes, header pairs with random lengths, ensembles with
// wrong checksums, cut-off ensembles, bad-byte runs around the limits, NVRAM blocks. Every call must
// agree on what it finds, where the file is left, whether it is at its end, and the length it leaves.
#include "EnsembleBuilder.h"
#include "ReferenceSearch.h"
#include "TestSupport.h"
#include "ensemble/Framing.h"
#include "ensemble/LastEnsembleSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace mvx {
namespace {

using test::Bytes;

class Pieces {
  public:
    explicit Pieces(uint32_t seed) : rng_(seed) {}
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    // A file of random pieces, up to about size bytes.
    Bytes File(size_t size, bool broadband) {
        Bytes out;
        while (out.size() < size) Append(out, broadband);
        return out;
    }

    void Append(Bytes& out, bool broadband) {
        const Bytes valid = broadband ? test::SimpleBroadband(static_cast<uint32_t>(Pick(1000)),
                                                              static_cast<uint8_t>(1 + Pick(12)))
                                      : test::SimpleNarrowband(static_cast<uint16_t>(Pick(1000)));
        const uint8_t sync = broadband ? 0x7F : 0x3F;
        Bytes piece;
        switch (Pick(10)) {
        case 0:
        case 1:
            piece = valid;
            break;
        case 2: // a wrong checksum
            piece = valid;
            piece[piece.size() - 1 - Pick(2)] ^= static_cast<uint8_t>(1 + Pick(255));
            break;
        case 3: // cut off
            piece.assign(valid.begin(), valid.begin() + static_cast<long>(1 + Pick(valid.size() - 1)));
            break;
        case 4: // a run of sync bytes
            piece.assign(1 + Pick(120), sync);
            break;
        case 5: // header pairs, each with random length bytes
            for (size_t i = 0, n = 1 + Pick(30); i < n; ++i) {
                const Bytes head = {0x7F, 0x7F, static_cast<uint8_t>(Pick(256)),
                                    static_cast<uint8_t>(Pick(256))};
                piece.insert(piece.end(), head.begin(), head.begin() + static_cast<long>(2 + Pick(3)));
            }
            break;
        case 6: { // bad bytes around the limit of one search
            const size_t limit = broadband ? 10000 : 65536;
            piece.assign(Pick(3) == 0 ? limit - 5 + Pick(10) : Pick(300), 0);
            break;
        }
        case 7: { // a long ensemble behind a run of sync bytes, so one call sums more than 64 KiB first
            piece.assign(3 + Pick(5), sync);
            const Bytes long_ =
                broadband ? test::Broadband({test::FixedLeader({}), test::VariableLeader({}),
                                             test::TextBlock(0x0800, std::string(20000 + Pick(40000), 't'))})
                          : test::Narrowband(test::NarrowbandLeader({}),
                                             test::NarrowbandVelocity(test::Words4(3000 + Pick(6000))));
            piece.insert(piece.end(), long_.begin(), long_.end());
            break;
        }
        default:
            for (size_t i = 0, n = 1 + Pick(200); i < n; ++i)
                piece.push_back(Pick(4) == 0 ? sync : static_cast<uint8_t>(Pick(256)));
            break;
        }
        out.insert(out.end(), piece.begin(), piece.end());
    }

  private:
    std::mt19937 rng_;
};

TEST(SearchEquivalence, EveryCallAgreesWithThePlainReading) {
    Pieces pieces(20240611);
    for (int round = 0; round < 120; ++round) {
        const bool broadband = round % 3 != 2;
        const Bytes bytes = pieces.File(1000 + pieces.Pick(round % 10 == 0 ? 90000 : 20000), broadband);
        // Small buffers make candidates cross refills; the running sums start after 64 KiB of direct sums.
        EnsembleFile file(size_t{4096} << pieces.Pick(9));
        ASSERT_TRUE(file.Open(test::WriteScratch(bytes)));
        reference::File ref{&bytes};
        EnsembleFrame frame;
        frame.EnsembleBytes = 4321;
        for (int call = 0; call < 3000 && !ref.AtEnd; ++call) {
            if (pieces.Pick(8) == 0) {
                const int64_t to = 1 + static_cast<int64_t>(pieces.Pick(bytes.size() + 2));
                file.Seek(to);
                ref.Seek(to);
            }
            const int32_t before = frame.EnsembleBytes;
            const bool found = broadband ? Find_Broadband_Ensemble(file, frame, {})
                                         : Find_Narrowband_Ensemble(file, frame, {});
            const reference::Found expected = reference::FindEnsemble(ref, broadband);
            ASSERT_EQ(found, expected.Ok) << "round " << round << " call " << call;
            if (found) {
                ASSERT_EQ(frame.EnsembleBuffer, expected.Ensemble) << round;
                ASSERT_EQ(frame.EnsembleBytes, static_cast<int32_t>(expected.Ensemble.size()) - 2);
            } else {
                ASSERT_EQ(frame.EnsembleBytes, before) << round;
            }
            ASSERT_EQ(file.NextPosition(), ref.Next) << "round " << round << " call " << call;
            ASSERT_EQ(file.AtEnd(), ref.AtEnd) << "round " << round << " call " << call;
        }
    }
}

// Puts a set of files (one or more members) through the backward search and its one-record-at-a-time
// reading; both must take the same ensembles, set the same NVRAM flag and leave the same length.
// Returns whether the search found a last ensemble.
bool ExpectSameLastEnsemble(const std::vector<Bytes>& members, bool broadband, int round) {
    reference::Stream ref;
    ref.Members = members;
    ref.Seek(1);
    const reference::Found first = ref.Next(broadband);
    if (!first.Ok) return false;
    const int32_t firstBytes = static_cast<int32_t>(first.Ensemble.size()) - 2;
    const reference::LastSearch expected = reference::FindLast(ref, broadband, firstBytes);

    std::vector<std::string> paths;
    const auto dir = test::ScratchDir();
    for (size_t m = 0; m < members.size(); ++m) {
        paths.push_back((dir / ("member" + std::to_string(m))).string());
        test::WriteAll(paths.back(), members[m]);
    }
    SetStream stream;
    EXPECT_TRUE(stream.Open(paths));
    EnsembleFrame frame;
    frame.EnsembleBytes = firstBytes;
    bool valid = true;
    std::vector<Bytes> taken;
    const LastEnsembleResult result =
        Find_Last_Ensemble(stream, frame, broadband ? kBroadband : kNarrowband, stream.TotalLength(),
                           firstBytes, valid, [&] { taken.push_back(frame.EnsembleBuffer); }, {});
    EXPECT_EQ(result.Found, expected.Found) << round;
    EXPECT_EQ(result.Nvram, expected.Nvram) << round;
    EXPECT_EQ(taken, expected.Taken) << round;
    EXPECT_EQ(frame.EnsembleBytes, expected.BytesAfter) << round;
    return result.Found;
}

// Cuts bytes into one to three members.
std::vector<Bytes> Members(const Bytes& all, Pieces& pieces) {
    std::vector<Bytes> members;
    const size_t count = 1 + pieces.Pick(3);
    size_t at = 0;
    for (size_t m = 0; m < count; ++m) {
        const size_t to = m + 1 == count ? all.size() : std::min(all.size(), at + pieces.Pick(all.size()));
        members.emplace_back(all.begin() + static_cast<long>(at), all.begin() + static_cast<long>(to));
        at = to;
    }
    return members;
}

// Records longer than the bad-byte limit, so whether a step reaches an ensemble through a run of bad
// bytes depends on exactly how many it counts, then a tail that hides the last of them, in one file or
// cut into members. Lone header bytes make some steps start on a byte that the step before reads as the
// second byte of a pair and does not count.
TEST(SearchEquivalence, LastEnsembleAgreesWithTheOneRecordAtATimeReading) {
    Pieces pieces(5);
    auto record = [](bool broadband, uint32_t k, size_t size) {
        test::NarrowbandLeaderFields leader;
        leader.EnsembleNumber = static_cast<uint16_t>(k);
        return broadband
                   ? test::Broadband({test::FixedLeader({}), test::VariableLeader({.EnsembleNumber = k}),
                                      test::TextBlock(0x0800, std::string(size, 'r'))})
                   : test::Narrowband(test::NarrowbandLeader(leader),
                                      test::NarrowbandVelocity(test::Words4(size / 6)));
    };
    for (int round = 0; round < 150; ++round) {
        const bool broadband = round % 3 != 2;
        const uint8_t sync = broadband ? 0x7F : 0x3F;
        const size_t size = 10000 + pieces.Pick(3000);
        Bytes all;
        for (uint32_t k = 1, n = static_cast<uint32_t>(1 + pieces.Pick(3)); k <= n; ++k) {
            const Bytes e = record(broadband, k, size);
            all.insert(all.end(), e.begin(), e.end());
        }
        for (size_t i = 0, n = 2 + pieces.Pick(8); i < n; ++i) {
            Bytes piece;
            switch (pieces.Pick(7)) {
            case 0:
                piece = record(broadband, 100 + static_cast<uint32_t>(i), size);
                break;
            case 1:
                piece = record(broadband, 200, size + 6 + 6 * pieces.Pick(50)); // another length
                break;
            case 2:
                piece =
                    test::Broadband({test::FixedLeader({}), test::TextBlock(0x0800, std::string(8100, 'n'))});
                break;
            case 3:
                for (size_t j = 0, pairs = 1 + pieces.Pick(3000); j < pairs; ++j)
                    piece.insert(piece.end(), {sync, 0x00});
                break;
            case 4:
                pieces.Append(piece, broadband);
                break;
            default:
                piece.assign(9000 + pieces.Pick(4000), 0);
                if (pieces.Pick(2) == 0) piece[pieces.Pick(piece.size())] = sync;
                break;
            }
            all.insert(all.end(), piece.begin(), piece.end());
        }
        all.insert(all.end(), 25000 + pieces.Pick(10000), 0);
        ExpectSameLastEnsemble(Members(all, pieces), broadband, round);
    }
}

// Laid out so that the fourth backward step starts 9999 or 10000 bad bytes before the last record and
// the fifth starts one record earlier, on zeros (all bad) or on 7F 00 pairs (none counted, and the
// fifth step reads the fourth step's first byte as the second byte of a pair, so it counts one fewer).
// Split at the last record, the set's search reaches it only by going on into the second member.
TEST(SearchEquivalence, StepsOneBadByteEitherSideOfTheLimit) {
    constexpr size_t kText = 11860; // records of 12001 bytes
    auto record = [](uint32_t k) {
        return test::Broadband({test::FixedLeader({}), test::VariableLeader({.EnsembleNumber = k}),
                                test::TextBlock(0x0800, std::string(kText, 'r'))});
    };
    const struct {
        bool pairs;
        size_t badBefore; // from the fourth step's first byte to the last record
        bool split;
        bool found;
    } cases[] = {{false, 9999, false, true},  {false, 10000, false, false}, {true, 10000, false, true},
                 {true, 10001, false, false}, {true, 10000, true, true},    {false, 10000, true, false}};
    for (const auto& c : cases) {
        Bytes all = record(1);
        const size_t r = all.size();
        ASSERT_EQ(r, 12001u);
        all.insert(all.end(), 100, 0);
        if (c.pairs) {
            for (size_t j = 0; j < (r + 1) / 2; ++j) all.insert(all.end(), {0x7F, 0x00});
            all.pop_back(); // the fourth step's first byte is the 00 of the last pair
        } else {
            all.insert(all.end(), r, 0);
        }
        const size_t fourth = all.size() + 1;
        all.insert(all.end(), fourth + c.badBefore - 1 - all.size(), 0);
        const auto lastAt = static_cast<long>(all.size());
        const Bytes last = record(2);
        all.insert(all.end(), last.begin(), last.end());
        all.insert(all.end(), fourth + 4 * r - 1 - all.size(), 0); // steps at fourth + r x (4 - k)
        const std::vector<Bytes> members = c.split ? std::vector<Bytes>{{all.begin(), all.begin() + lastAt},
                                                                        {all.begin() + lastAt, all.end()}}
                                                   : std::vector<Bytes>{all};
        EXPECT_EQ(ExpectSameLastEnsemble(members, true, 0), c.found) << c.pairs << c.badBefore << c.split;
    }
}

} // namespace
} // namespace mvx

// The ensemble search: bad-byte limits, where a search resumes, the end of the file, restored lengths.
#include "ensemble/Framing.h"
#include "EnsembleBuilder.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Bytes;
using test::Concat;

constexpr int32_t kSentinel = 4321; // EnsembleBytes before a search, to see it restored

struct Reader {
    EnsembleFile file;
    EnsembleFrame frame;
    int yields = 0;
    YieldFn yield = [this] { ++yields; };

    explicit Reader(const Bytes& bytes) {
        EXPECT_TRUE(file.Open(test::WriteScratch(bytes)));
        frame.EnsembleBytes = kSentinel;
    }
    bool Broadband() { return Find_Broadband_Ensemble(file, frame, yield); }
    bool Narrowband() { return Find_Narrowband_Ensemble(file, frame, yield); }
    // Ensemble number from the variable leader, SimpleBroadband's second data type.
    int Number() const {
        const auto& b = frame.EnsembleBuffer;
        const size_t vl = b[8] | (b[9] << 8);
        return b[vl + 2] | (b[vl + 3] << 8);
    }
};

Bytes Zeros(size_t n) {
    return Bytes(n, 0);
}

TEST(BroadbandSearch, TwentyThousandZerosExhaustTheBadByteLimitOfTheFirstCall) {
    const Bytes e1 = test::SimpleBroadband(1), e2 = test::SimpleBroadband(2);
    Reader r(Concat({Zeros(20000), e1, e2}));
    EXPECT_FALSE(r.Broadband());
    EXPECT_EQ(r.frame.EnsembleBytes, kSentinel);
    EXPECT_EQ(r.file.LastPositionRead(), 10000);
    EXPECT_FALSE(r.file.AtEnd());
    EXPECT_FALSE(r.Broadband()); // the next 10000 zeros
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(r.Number(), 1);
    EXPECT_EQ(r.frame.EnsembleBuffer, e1);
    EXPECT_EQ(r.file.NextPosition(), 20001 + static_cast<int64_t>(e1.size()));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(r.Number(), 2);

    // 9999 bad bytes are still below the limit.
    Reader below(Concat({Zeros(9999), e1}));
    EXPECT_TRUE(below.Broadband());
}

TEST(BroadbandSearch, ByteAfterALoneHeaderByteIsNotCountedAndNotReexamined) {
    const Bytes e = test::SimpleBroadband(3);
    // 7F 12 7F 7F ...: found at the second pair, at position 3.
    Reader r(Concat({{0x7F, 0x12}, e}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(r.file.NextPosition(), 3 + static_cast<int64_t>(e.size()));
    // With 9999 bad bytes before it, a counted 0x12 would be the 10000th.
    Reader limit(Concat({Zeros(9999), {0x7F, 0x12}, e}));
    EXPECT_TRUE(limit.Broadband());
}

TEST(BroadbandSearch, CorruptedEnsembleIsSkippedAndTheNextReturnedByTheSameCall) {
    Bytes bad = test::SimpleBroadband(1, 20);
    bad[40] ^= 0x01;
    const Bytes good = test::SimpleBroadband(2);
    Reader r(Concat({bad, good}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(r.Number(), 2);
    EXPECT_EQ(r.file.NextPosition(), static_cast<int64_t>(bad.size() + good.size()) + 1);

    // A stray 0x7F one byte early makes a false candidate reaching far beyond: the search resumes one
    // byte after it.
    Reader stray(Concat({{0x7F}, test::SimpleBroadband(9), Zeros(70000)}));
    ASSERT_TRUE(stray.Broadband());
    EXPECT_EQ(stray.Number(), 9);
}

TEST(BroadbandSearch, TruncatedLastEnsembleEndsTheSearch) {
    const Bytes e1 = test::SimpleBroadband(1), e2 = test::SimpleBroadband(2);
    Reader r(Concat({e1, Bytes(e2.begin(), e2.end() - 5)}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_FALSE(r.Broadband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_EQ(r.frame.EnsembleBytes, static_cast<int32_t>(e1.size()) - 2);

    // A false header whose length runs past the end hides what follows it.
    Reader past(Concat({{0x7F, 0x7F, 0xFF, 0xFF, 0, 0}, e1}));
    EXPECT_FALSE(past.Broadband());
    EXPECT_TRUE(past.file.AtEnd());
    EXPECT_EQ(past.frame.EnsembleBytes, kSentinel);
}

TEST(BroadbandSearch, EnsembleEndingExactlyAtTheEndOfTheFile) {
    const Bytes e = test::SimpleBroadband(6);
    Reader r(e);
    ASSERT_TRUE(r.Broadband());
    EXPECT_FALSE(r.file.AtEnd()); // a read that ends on the last byte does not reach the end
    EXPECT_FALSE(r.Broadband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_FALSE(r.Broadband()); // already at the end
    r.file.Seek(1);              // a seek clears the end
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(r.Number(), 6);
}

TEST(BroadbandSearch, LongSearchYieldsAtABoundedRate) {
    // 4 MiB of 0x7F: a failing candidate of 32 KB at every byte and no bad byte, so one call passes all
    // of them before the real ensemble; it yields about once per 64 KiB passed.
    Reader r(Concat({Bytes(4 << 20, 0x7F), test::SimpleBroadband(11), Zeros(70000)}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(r.Number(), 11);
    EXPECT_GE(r.yields, 50);
    EXPECT_LE(r.yields, 100);
}

TEST(NarrowbandSearch, LimitCountsTheBytesBeforeTheSyncByte) {
    // The three ensemble bytes before the sync byte are bad bytes too.
    const Bytes e = test::SimpleNarrowband(5);
    Reader below(Concat({Zeros(65532), e}));
    EXPECT_TRUE(below.Narrowband());
    EXPECT_EQ(below.frame.EnsembleBuffer, e);
    Reader at(Concat({Zeros(65533), e}));
    EXPECT_FALSE(at.Narrowband());
    EXPECT_EQ(at.frame.EnsembleBytes, kSentinel);
    EXPECT_EQ(at.file.LastPositionRead(), 65536);
}

TEST(NarrowbandSearch, SyncByteWithinTheFirstThreeBytesIsABadByte) {
    // 3F at positions 1..3 count as bad bytes, so the budget runs out one zero earlier.
    const Bytes e = test::SimpleNarrowband(5);
    Reader fits(Concat({{0x3F, 0x3F, 0x3F}, Zeros(65529), e}));
    EXPECT_TRUE(fits.Narrowband());
    Reader over(Concat({{0x3F, 0x3F, 0x3F}, Zeros(65530), e}));
    EXPECT_FALSE(over.Narrowband());
}

TEST(NarrowbandSearch, ChecksumFailureResumesAfterTheSyncByte) {
    // A false sync 00 C8 xx 3F claims 200 bytes that hold a real ensemble starting right after it.
    const Bytes good = test::SimpleNarrowband(2);
    Reader r(Concat({{0x00, 0xC8, 0x00, 0x3F}, good, Zeros(300)}));
    ASSERT_TRUE(r.Narrowband());
    EXPECT_EQ(r.frame.EnsembleBuffer, good);
}

TEST(NarrowbandSearch, ZeroLengthCandidateIsNotAnEnsemble) {
    // 00 00 xx 3F sums to its own empty checksum; accepting it would leave the file before its sync
    // byte, and every later search would find the same "ensemble" again.
    const Bytes good = test::SimpleNarrowband(3);
    Reader r(Concat({{0x00, 0x00, 0x11, 0x3F}, good}));
    ASSERT_TRUE(r.Narrowband());
    EXPECT_EQ(r.frame.EnsembleBuffer, good);
    EXPECT_FALSE(r.Narrowband());
    EXPECT_TRUE(r.file.AtEnd());
}

TEST(GetNextEnsemble, DispatchesByStructureAndRejectsUnknownWithoutReading) {
    const Bytes bb = test::SimpleBroadband(1), nb = test::SimpleNarrowband(4);
    Reader r(Concat({bb, nb}));
    bool valid = true;
    for (int32_t structure : {0, 3, -1}) {
        valid = true;
        EXPECT_FALSE(Get_Next_Ensemble(structure, r.file, r.frame, valid, r.yield));
        EXPECT_FALSE(valid);
    }
    EXPECT_EQ(r.file.LastPositionRead(), 0);
    valid = true;
    ASSERT_TRUE(Get_Next_Ensemble(kBroadband, r.file, r.frame, valid, r.yield));
    EXPECT_EQ(r.frame.EnsembleBuffer, bb);
    ASSERT_TRUE(Get_Next_Ensemble(kNarrowband, r.file, r.frame, valid, r.yield));
    EXPECT_EQ(r.frame.EnsembleBuffer, nb);
    EXPECT_TRUE(valid);
}

} // namespace
} // namespace mvx

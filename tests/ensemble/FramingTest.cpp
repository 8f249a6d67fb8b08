// The ensemble search: bad-byte limits, where a search resumes, the end of the file, restored lengths.
#include "ensemble/Framing.h"
#include "EnsembleBuilder.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Bytes;

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
};

Bytes Zeros(size_t n) {
    return Bytes(n, 0);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) test::Append(out, p);
    return out;
}

int32_t NumberOf(const EnsembleFrame& frame) {
    // Ensemble number from the variable leader, the second data type of SimpleBroadband.
    const auto& b = frame.EnsembleBuffer;
    const size_t vl = b[8] | (b[9] << 8);
    return b[vl + 2] | (b[vl + 3] << 8);
}

TEST(BroadbandSearch, TwentyThousandZerosExhaustTheBadByteLimitOfTheFirstCall) {
    const Bytes e1 = test::SimpleBroadband(1), e2 = test::SimpleBroadband(2);
    Reader r(Concat({Zeros(20000), e1, e2}));
    EXPECT_FALSE(r.Broadband());
    EXPECT_EQ(r.frame.EnsembleBytes, kSentinel);
    EXPECT_EQ(r.file.LastPositionRead(), 10000);
    EXPECT_FALSE(r.file.AtEnd());
    EXPECT_FALSE(r.Broadband()); // the next 10000 zeros
    EXPECT_EQ(r.file.LastPositionRead(), 20000);
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 1);
    EXPECT_EQ(r.frame.EnsembleBytes + 2, static_cast<int32_t>(e1.size()));
    EXPECT_EQ(r.file.NextPosition(), 20001 + static_cast<int64_t>(e1.size()));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 2);
}

TEST(BroadbandSearch, LimitIsReachedExactlyAtTheTenThousandthBadByte) {
    const Bytes e = test::SimpleBroadband(5);
    Reader below(Concat({Zeros(9999), e}));
    ASSERT_TRUE(below.Broadband());
    EXPECT_EQ(NumberOf(below.frame), 5);

    Reader at(Concat({Zeros(10000), e}));
    EXPECT_FALSE(at.Broadband());
    EXPECT_EQ(at.file.LastPositionRead(), 10000);
}

TEST(BroadbandSearch, ByteAfterALoneHeaderByteIsNotCountedAndNotReexamined) {
    // 9999 bad bytes, then 7F 12: the 0x12 is read in the second state and must not be the 10000th.
    const Bytes e = test::SimpleBroadband(3);
    Reader r(Concat({Zeros(9999), {0x7F, 0x12}, e}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 3);

    // 7F 12 7F 7F ...: found at the second pair, which starts at position 3.
    Reader r2(Concat({{0x7F, 0x12}, e}));
    ASSERT_TRUE(r2.Broadband());
    EXPECT_EQ(r2.file.NextPosition(), 3 + static_cast<int64_t>(e.size()));
}

TEST(BroadbandSearch, CorruptedEnsembleIsSkippedAndTheNextReturnedByTheSameCall) {
    Bytes bad = test::SimpleBroadband(1, 20);
    bad[40] ^= 0x01;
    const Bytes good = test::SimpleBroadband(2);
    Reader r(Concat({bad, good}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 2);
    EXPECT_EQ(r.file.NextPosition(), static_cast<int64_t>(bad.size() + good.size()) + 1);
}

TEST(BroadbandSearch, ChecksumFailureResumesOneByteAfterTheCandidate) {
    // A stray 0x7F before a real ensemble makes a false candidate one byte earlier; its length reads
    // 0x7F + 256 x (real length low byte), far beyond the real ensemble, yet the real one is found.
    const Bytes e = test::SimpleBroadband(9);
    Reader r(Concat({{0x7F}, e, Zeros(70000)}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 9);
    EXPECT_EQ(r.file.NextPosition(), 2 + static_cast<int64_t>(e.size()));
}

TEST(BroadbandSearch, TruncatedLastEnsembleEndsTheSearchAndLeavesEarlierOnesIntact) {
    const Bytes e1 = test::SimpleBroadband(1), e2 = test::SimpleBroadband(2), e3 = test::SimpleBroadband(3);
    Bytes cut(e3.begin(), e3.end() - 5);
    Reader r(Concat({e1, e2, cut}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 1);
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 2);
    const int32_t lengthOfSecond = r.frame.EnsembleBytes;
    EXPECT_FALSE(r.Broadband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_EQ(r.frame.EnsembleBytes, lengthOfSecond);
    EXPECT_FALSE(r.Broadband()); // already at the end: no read at all
}

TEST(BroadbandSearch, HeaderWhoseLengthRunsPastTheEndStopsTheSearch) {
    const Bytes e = test::SimpleBroadband(4);
    Reader r(Concat({{0x7F, 0x7F, 0xFF, 0xFF, 0, 0}, e}));
    EXPECT_FALSE(r.Broadband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_EQ(r.frame.EnsembleBytes, kSentinel);
}

TEST(BroadbandSearch, EnsembleEndingExactlyAtTheEndOfTheFileIsAccepted) {
    const Bytes e = test::SimpleBroadband(6);
    Reader r(e);
    ASSERT_TRUE(r.Broadband());
    EXPECT_FALSE(r.file.AtEnd()); // a read that ends on the last byte does not reach the end
    EXPECT_EQ(r.file.NextPosition(), static_cast<int64_t>(e.size()) + 1);
    EXPECT_FALSE(r.Broadband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_EQ(r.frame.EnsembleBytes, static_cast<int32_t>(e.size()) - 2);
}

TEST(BroadbandSearch, HeaderPairInTheLastBytesOfTheFileEndsWithoutAnEnsemble) {
    for (const Bytes& tail :
         {Bytes{0x7F}, Bytes{0x7F, 0x7F}, Bytes{0x7F, 0x7F, 0x04}, Bytes{0x7F, 0x7F, 4, 0, 2}}) {
        Reader r(Concat({test::SimpleBroadband(1), tail}));
        ASSERT_TRUE(r.Broadband());
        EXPECT_FALSE(r.Broadband());
        EXPECT_TRUE(r.file.AtEnd());
    }
}

TEST(BroadbandSearch, SeekClearsTheEndSoTheFileCanBeReadAgain) {
    Reader r(test::SimpleBroadband(8));
    ASSERT_TRUE(r.Broadband());
    EXPECT_FALSE(r.Broadband());
    ASSERT_TRUE(r.file.AtEnd());
    r.file.Seek(1);
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 8);
}

TEST(BroadbandSearch, LongSearchYieldsAtABoundedRate) {
    // 7F 7F FF 7F repeated makes two failing candidates of 32 KB and 64 KB every four bytes without a
    // single bad byte, so one call examines megabytes before it reaches the real ensemble.
    Bytes junk;
    for (int i = 0; i < 25; ++i) test::Append(junk, {0x7F, 0x7F, 0xFF, 0x7F});
    const Bytes e = test::SimpleBroadband(11);
    Reader r(Concat({junk, e, Zeros(70000)}));
    ASSERT_TRUE(r.Broadband());
    EXPECT_EQ(NumberOf(r.frame), 11);
    // About 50 candidates of 32 to 64 KB: the search yields now and then, never once per step.
    EXPECT_GE(r.yields, 10);
    EXPECT_LE(r.yields, 60);
}

TEST(NarrowbandSearch, FindsConsecutiveEnsemblesAndSkipsStrayBytes) {
    const Bytes e1 = test::SimpleNarrowband(1), e2 = test::SimpleNarrowband(2);
    Reader r(Concat({e1, {0x00, 0x05, 0x00, 0x3F, 9, 9}, e2})); // a false sync among the strays
    ASSERT_TRUE(r.Narrowband());
    EXPECT_EQ(r.frame.EnsembleBuffer, e1);
    ASSERT_TRUE(r.Narrowband());
    EXPECT_EQ(r.frame.EnsembleBuffer, e2);
    EXPECT_FALSE(r.Narrowband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_EQ(r.frame.EnsembleBytes, static_cast<int32_t>(e2.size()) - 2);
}

TEST(NarrowbandSearch, LimitCountsTheBytesBeforeTheSyncByte) {
    // The three ensemble bytes before the sync byte are bad bytes too: 65532 zeros + 3 = 65535 is
    // below the limit, one more zero reaches it.
    const Bytes e = test::SimpleNarrowband(5);
    Reader below(Concat({Zeros(65532), e}));
    EXPECT_TRUE(below.Narrowband());
    Reader at(Concat({Zeros(65533), e}));
    EXPECT_FALSE(at.Narrowband());
    EXPECT_EQ(at.frame.EnsembleBytes, kSentinel);
    EXPECT_EQ(at.file.LastPositionRead(), 65536);
}

TEST(NarrowbandSearch, SyncByteWithinTheFirstThreeBytesIsABadByte) {
    // 3F 3F 3F at positions 1..3 cannot be sync bytes and count as bad: with them the budget is spent
    // one zero earlier than it would be if they were taken as (failed) candidates.
    const Bytes e = test::SimpleNarrowband(5);
    Reader fits(Concat({{0x3F, 0x3F, 0x3F}, Zeros(65529), e}));
    EXPECT_TRUE(fits.Narrowband());
    Reader over(Concat({{0x3F, 0x3F, 0x3F}, Zeros(65530), e}));
    EXPECT_FALSE(over.Narrowband());
}

TEST(NarrowbandSearch, ChecksumFailureResumesAfterTheSyncByte) {
    // A damaged ensemble whose claimed length covers the next ensemble: the next one is still found.
    Bytes bad = test::SimpleNarrowband(1);
    bad[30] ^= 0x40;
    const Bytes good = test::SimpleNarrowband(2);
    Bytes file = Concat({bad, good});
    Reader r(file);
    ASSERT_TRUE(r.Narrowband());
    EXPECT_EQ(r.frame.EnsembleBuffer, good);

    // A false sync: 00 C8 xx 3F claims 200 bytes that hold a real ensemble starting right after it.
    Reader r2(Concat({{0x00, 0xC8, 0x00, 0x3F}, good, Zeros(300)}));
    ASSERT_TRUE(r2.Narrowband());
    EXPECT_EQ(r2.frame.EnsembleBuffer, good);
}

TEST(NarrowbandSearch, ZeroLengthCandidateIsNotAnEnsemble) {
    // 00 00 xx 3F would sum to its own (empty) checksum; accepting it would leave the file before the
    // sync byte and the next search would find it again forever.
    const Bytes good = test::SimpleNarrowband(3);
    Reader r(Concat({{0x00, 0x00, 0x11, 0x3F}, good}));
    ASSERT_TRUE(r.Narrowband());
    EXPECT_EQ(r.frame.EnsembleBuffer, good);
    int calls = 0;
    while (!r.file.AtEnd() && calls < 10) {
        r.Narrowband();
        ++calls;
    }
    EXPECT_TRUE(r.file.AtEnd());
}

TEST(NarrowbandSearch, TruncatedLastEnsembleIsNeverReturned) {
    const Bytes e1 = test::SimpleNarrowband(1), e2 = test::SimpleNarrowband(2);
    Reader r(Concat({e1, Bytes(e2.begin(), e2.end() - 1)}));
    ASSERT_TRUE(r.Narrowband());
    EXPECT_FALSE(r.Narrowband());
    EXPECT_TRUE(r.file.AtEnd());
    EXPECT_EQ(r.frame.EnsembleBytes, static_cast<int32_t>(e1.size()) - 2);
}

TEST(GetNextEnsemble, DispatchesByStructureAndRejectsUnknownWithoutReading) {
    const Bytes bb = test::SimpleBroadband(1);
    Reader r(bb);
    bool valid = true;
    EXPECT_FALSE(Get_Next_Ensemble(kStructureUnknown, r.file, r.frame, valid, r.yield));
    EXPECT_FALSE(valid);
    EXPECT_EQ(r.file.LastPositionRead(), 0);
    valid = true;
    EXPECT_FALSE(Get_Next_Ensemble(3, r.file, r.frame, valid, r.yield));
    EXPECT_FALSE(valid);

    valid = true;
    ASSERT_TRUE(Get_Next_Ensemble(kBroadband, r.file, r.frame, valid, r.yield));
    EXPECT_TRUE(valid);
    EXPECT_EQ(r.frame.EnsembleBuffer, bb);

    const Bytes nb = test::SimpleNarrowband(4);
    Reader n(nb);
    ASSERT_TRUE(Get_Next_Ensemble(kNarrowband, n.file, n.frame, valid, n.yield));
    EXPECT_EQ(n.frame.EnsembleBuffer, nb);
    EXPECT_TRUE(valid);
}

TEST(GetNextEnsemble, EnsembleLongerThanTheReadBufferIsRead) {
    // 255 cells of velocity, correlation and intensity: about 4 KB, read through a 4 KB file buffer.
    test::FixedLeaderFields fl;
    fl.NumCells = 255;
    std::vector<std::array<uint16_t, 4>> vel(255, {1, 2, 3, 4});
    std::vector<std::array<uint8_t, 4>> bytes(255, {5, 6, 7, 8});
    const Bytes e = test::Broadband({test::FixedLeader(fl), test::VariableLeader({}), test::Velocity(vel),
                                     test::BeamBytes(0x0200, bytes), test::BeamBytes(0x0300, bytes)});
    EnsembleFile file(4096);
    ASSERT_TRUE(file.Open(test::WriteScratch(Concat({Zeros(3000), e, e}))));
    EnsembleFrame frame;
    ASSERT_TRUE(Find_Broadband_Ensemble(file, frame, {}));
    EXPECT_EQ(frame.EnsembleBuffer, e);
    ASSERT_TRUE(Find_Broadband_Ensemble(file, frame, {}));
    EXPECT_EQ(frame.EnsembleBuffer, e);
}

} // namespace
} // namespace mvx

// The ensemble search's pacing and its dispatch by structure. (What a search finds, where it leaves the
// file, its end and the lengths it restores are checked against a plain reading by SearchEquivalenceTest.)
#include "ensemble/Framing.h"
#include "EnsembleBuilder.h"

#include <gtest/gtest.h>

namespace mvx {
namespace {

using test::Bytes;
using test::Concat;

TEST(BroadbandSearch, LongSearchYieldsAtABoundedRate) {
    // 4 MiB of 0x7F: a failing candidate of 32 KB at every byte and no bad byte, so one call passes all
    // of them before the real ensemble; it yields about once per 64 KiB passed.
    EnsembleFile file;
    ASSERT_TRUE(file.Open(
        test::WriteScratch(Concat({Bytes(4 << 20, 0x7F), test::SimpleBroadband(11), Bytes(70000, 0)}))));
    EnsembleFrame frame;
    int yields = 0;
    ASSERT_TRUE(Find_Broadband_Ensemble(file, frame, [&] { ++yields; }));
    EXPECT_EQ(frame.EnsembleBuffer, test::SimpleBroadband(11));
    EXPECT_GE(yields, 50);
    EXPECT_LE(yields, 100);
}

TEST(GetNextEnsemble, DispatchesByStructureAndRejectsUnknownWithoutReading) {
    const Bytes bb = test::SimpleBroadband(1), nb = test::SimpleNarrowband(4);
    EnsembleFile file;
    ASSERT_TRUE(file.Open(test::WriteScratch(Concat({bb, nb}))));
    EnsembleFrame frame;
    bool valid = true;
    for (int32_t structure : {0, 3, -1}) {
        valid = true;
        EXPECT_FALSE(Get_Next_Ensemble(structure, file, frame, valid, {}));
        EXPECT_FALSE(valid);
    }
    EXPECT_EQ(file.LastPositionRead(), 0);
    valid = true;
    ASSERT_TRUE(Get_Next_Ensemble(kBroadband, file, frame, valid, {}));
    EXPECT_EQ(frame.EnsembleBuffer, bb);
    ASSERT_TRUE(Get_Next_Ensemble(kNarrowband, file, frame, valid, {}));
    EXPECT_EQ(frame.EnsembleBuffer, nb);
    EXPECT_TRUE(valid);
}

} // namespace
} // namespace mvx

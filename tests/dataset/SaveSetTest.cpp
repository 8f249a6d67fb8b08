// Raw copies of ensemble ranges, within one file and across the files of a numbered set.
#include "TestSupport.h"

#include "dataset/SaveSet.h"
#include "model/CoreState.h"

#include <gtest/gtest.h>

namespace mvx::test {
namespace {

// The 9-ensemble file ends on an ensemble boundary: 16506 bytes = 9 x 1834, so every ensemble is
// 1832 bytes plus a 2-byte checksum.
constexpr int64_t kRecord = 1834;

CoreState OpenState(const std::string& path) {
    CoreState state;
    state.Set.FileValid = true;
    state.Set.FileName = path;
    state.Set.FileFirstEnsemble = 1;
    state.Set.FileLastEnsemble = 9;
    state.Frame.EnsembleBytes = static_cast<int32_t>(kRecord - 2);
    return state;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, int64_t from, int64_t count) {
    return std::vector<uint8_t>(bytes.begin() + from, bytes.begin() + from + count);
}

TEST(SaveEnsembleRange, CopiesTheChosenEnsemblesByteForByte) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    const std::string source = DataFile("up600_beam_9ens.000");
    const auto bytes = ReadAll(source);
    ASSERT_EQ(static_cast<int64_t>(bytes.size()), 9 * kRecord);
    const CoreState state = OpenState(source);
    const auto target = ScratchDir() / "three.000";
    int64_t written = 0;
    ASSERT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 3, 5, target.string(), &written),
              SaveSetResult::Saved);
    EXPECT_EQ(written, 3 * kRecord);
    EXPECT_EQ(ReadAll(target), Slice(bytes, 2 * kRecord, 3 * kRecord));
    // A range past the end of the file stops there.
    const auto tail = ScratchDir() / "tail.000";
    ASSERT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 8, 20, tail.string()),
              SaveSetResult::Saved);
    EXPECT_EQ(ReadAll(tail), Slice(bytes, 7 * kRecord, 2 * kRecord));
}

TEST(SaveEnsembleRange, RefusesTheOpenFileAndFilesWithContent) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    const std::string source = DataFile("up600_beam_9ens.000");
    const CoreState state = OpenState(source);
    std::string message;
    EXPECT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 1, 2, source, nullptr, &message),
              SaveSetResult::NothingToDo);
    const auto full = ScratchDir() / "full.000";
    WriteAll(full, {9});
    EXPECT_EQ(
        Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 1, 2, full.string(), nullptr, &message),
        SaveSetResult::NotAllowed);
    EXPECT_EQ(message, "Over-Write of File Not Allowed");
    EXPECT_EQ(ReadAll(full), std::vector<uint8_t>{9});
    // An existing empty file may be written.
    const auto empty = ScratchDir() / "empty.000";
    WriteAll(empty, {});
    EXPECT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 1, 1, empty.string()),
              SaveSetResult::Saved);
    EXPECT_EQ(static_cast<int64_t>(ReadAll(empty).size()), kRecord);
    if (!std::filesystem::exists("/dev/full")) return;
    EXPECT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 1, 2, "/dev/full", nullptr, &message),
              SaveSetResult::Failed);
    EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
}

TEST(SaveEnsembleRange, RunsAcrossTheFilesOfANumberedSet) {
    SKIP_WITHOUT_DATA_FILE("up600_beam_9ens.000");
    const auto bytes = ReadAll(DataFile("up600_beam_9ens.000"));
    // RUN.000 holds ensembles 1-4, RUN.001 ensembles 5-9.
    const auto dir = ScratchDir();
    WriteAll(dir / "RUN.000", Slice(bytes, 0, 4 * kRecord));
    WriteAll(dir / "RUN.001", Slice(bytes, 4 * kRecord, 5 * kRecord));
    CoreState state = OpenState((dir / "RUN.000").string());
    state.Set.MultiFileCount = 1;
    const auto target = dir / "out.bin";
    // Ensembles 3..6 start in the first file and end in the second.
    ASSERT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 3, 6, target.string()),
              SaveSetResult::Saved);
    EXPECT_EQ(ReadAll(target), Slice(bytes, 2 * kRecord, 4 * kRecord));
    // Ensembles 6..7 lie wholly in the second file.
    ASSERT_EQ(Save_Ensemble_Range(state.Set, state.Frame.EnsembleBytes, 6, 7, target.string() + "2"),
              SaveSetResult::Saved);
    EXPECT_EQ(ReadAll(target.string() + "2"), Slice(bytes, 5 * kRecord, 2 * kRecord));
}

} // namespace
} // namespace mvx::test

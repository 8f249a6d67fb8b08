#pragma once
// Classifying a file and writing its statistics text.
#include "common/Callbacks.h"
#include "dataset/LoadReport.h"
#include "dataset/ReadLoop.h"
#include "ensemble/Decoder.h"
#include "model/SetDescriptors.h"

#include <string>
#include <vector>

namespace mvx {

struct FileStatsReport {
    // None when the file has enough valid ensembles to load; Unreadable when it could not be read;
    // NotEnoughValid when no first or no last ensemble was found.
    LoadRefusal Refusal = LoadRefusal::Unreadable;
    bool Nvram = false; // the last-ensemble search met an NVRAM block
    std::string Text;   // the statistics lines, each ending with CR LF
    bool Valid() const { return Refusal == LoadRefusal::None; }
};

// Classifies the set, writes its statistics into the report, and sets DataStructure, FileSize, the
// first and last ensemble numbers, NumEnsembles and the file's first and last ensemble in set. The
// first ensemble is decoded into slot 0 of the target and the last into slot 1 (two slots are
// allocated when the target has fewer). memberPaths lists the files of the set (one entry for a single
// file) and setSize their total length.
FileStatsReport Show_File_Stats(const std::vector<std::string>& memberPaths, int64_t setSize,
                                DecodeTarget target, const DecodeSettings& decode, SetDescriptors& set,
                                const YieldFn& yield);

// The statistics as the information window shows them: the lines, then "Not enough VALID ensembles"
// after an empty line when the file was refused for that.
std::string Stats_Text(const FileStatsReport& report);

} // namespace mvx

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
    // NotEnoughValid when no first or no last ensemble was found; Stopped when the index pass was.
    LoadRefusal Refusal = LoadRefusal::Unreadable;
    bool Nvram = false; // the last-ensemble search met an NVRAM block
    std::string Text;   // the statistics lines, each ending with CR LF
    bool Valid() const { return Refusal == LoadRefusal::None; }
};

// How the statistics go about the set's index.
struct IndexSettings {
    int32_t FirstSubSet = 256; // ensembles from the first that must sit where the arithmetic puts them
    bool ExtendKept = false;   // monitor mode: an index kept from the last Open of the set is extended
    ProgressSink Progress;     // of the index pass, which it can stop
};

// Classifies the set, writes its statistics into the report, and sets DataStructure, FileSize, the
// first and last ensemble numbers, NumEnsembles and the file's first and last ensemble in set. The
// first ensemble is decoded into slot 0 of the target and the last into slot 1 (two slots are
// allocated when the target has fewer). memberPaths lists the files of the set (one entry for a single
// file) and setSize their total length.
// When the ensembles do not all sit where the first one's length predicts (Arithmetic_Holds), or the
// last one found is not the file's last, set.Index is built by one framing pass (or extended, see
// IndexSettings) and the last ensemble, its line's remark (missing ensembles counted from the numbers,
// else bytes outside every ensemble) and NumEnsembles (the ensembles indexed) come from it; otherwise
// set.Index is left empty. A pass stopped by its progress callback refuses the file (Stopped).
FileStatsReport Show_File_Stats(const std::vector<std::string>& memberPaths, int64_t setSize,
                                DecodeTarget target, const DecodeSettings& decode, SetDescriptors& set,
                                const YieldFn& yield, const IndexSettings& indexing = {});

// The statistics as the information window shows them: the lines, then "Not enough VALID ensembles"
// after an empty line when the file was refused for that.
std::string Stats_Text(const FileStatsReport& report);

} // namespace mvx

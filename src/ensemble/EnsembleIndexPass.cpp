#include "ensemble/EnsembleIndexPass.h"

#include "ensemble/EnsembleFormats.h"
#include "ensemble/Framing.h"

#include <algorithm>
#include <limits>

namespace mvx {

namespace {

// A long sequential read: a large buffer keeps the reads few.
constexpr size_t kPassBuffer = 4 << 20;
constexpr int64_t kProgressEvery = 4 << 20;

int64_t RecordStart(const EnsembleScan& scan, const FramingRule& rule) {
    return scan.Position - rule.SyncOffset;
}

} // namespace

bool Index_Extends(const EnsembleIndex& index, const std::vector<std::string>& members, int32_t structure) {
    const EnsembleFormat* format = Ensemble_Format(structure);
    if (!format || index.Members.empty() || index.Members.size() > members.size()) return false;
    EnsembleFile file(64 * 1024);
    for (size_t k = 0; k < index.Members.size(); ++k) {
        if (index.Members[k] != members[k] || !file.Open(members[k])) return false;
        const int64_t length = file.Length();
        if (k < index.ResumeMember ? length != index.MemberLengths[k] : length < index.MemberLengths[k])
            return false;
    }
    if (index.Empty()) return true;
    // The last ensemble indexed must still be there, whole and with its number.
    const IndexEntry& last = index.Entries.back();
    const SetPosition at = Entry_Position(index, index.Count() - 1);
    if (!file.Open(members[at.Member])) return false;
    file.Seek(at.Position);
    EnsembleFrame frame;
    ScanLimits limits;
    limits.BadByteLimit = 1;
    SearchPacer pacer(YieldFn{});
    const EnsembleScan scan = Scan_For_Ensemble(structure, file, frame, limits, pacer);
    return scan.How == EnsembleScan::End::Found && RecordStart(scan, format->Framing) == at.Position &&
           frame.EnsembleBytes == last.Bytes;
}

IndexPassEnd Index_Ensembles(const std::vector<std::string>& members, int32_t structure, bool extend,
                             EnsembleIndex& index, const YieldFn& yield, const ProgressSink& progress) {
    const EnsembleFormat* format = Ensemble_Format(structure);
    if (!(extend && Index_Extends(index, members, structure))) index = EnsembleIndex{};
    index.ScannedBytes = 0;
    if (!format) return IndexPassEnd::Done;
    index.Members = members;
    index.MemberLengths.resize(members.size(), 0);
    index.MemberStarts.resize(members.size(), 0);

    // The members are measured first so that progress runs over the bytes still to read.
    EnsembleFile file(kPassBuffer);
    size_t opened = members.size();
    int64_t toRead = 0;
    for (size_t k = index.ResumeMember; k < members.size(); ++k) {
        if (!file.Open(members[k])) {
            opened = k;
            for (size_t j = k; j < members.size(); ++j) index.MemberLengths[j] = 0;
            break;
        }
        index.MemberLengths[k] = file.Length();
        toRead += index.MemberLengths[k] - (k == index.ResumeMember ? index.ResumePosition - 1 : 0);
    }
    for (size_t k = 1; k < members.size(); ++k)
        index.MemberStarts[k] = index.MemberStarts[k - 1] + index.MemberLengths[k - 1];

    SearchPacer pacer(yield);
    ScanLimits limits;
    limits.BadByteLimit = std::numeric_limits<int64_t>::max();
    EnsembleFrame frame;
    int64_t read = 0, reported = 0;
    if (!progress.DoValue(0)) {
        index = EnsembleIndex{};
        return IndexPassEnd::Stopped;
    }
    for (size_t k = index.ResumeMember; k < opened; ++k) {
        if (!file.Open(members[k])) break;
        const int64_t from = k == index.ResumeMember ? index.ResumePosition : 1;
        file.Seek(from);
        const int64_t memberStart = index.MemberStarts[k];
        for (;;) {
            const EnsembleScan scan = Scan_For_Ensemble(structure, file, frame, limits, pacer);
            if (scan.How != EnsembleScan::End::Found) break;
            const int64_t start = RecordStart(scan, format->Framing);
            const int64_t record = int64_t{frame.EnsembleBytes} + 2;
            if (Is_Nvram_Block(frame)) {
                ++index.NvramBlocks;
            } else {
                const int64_t number = format->Number(frame);
                IndexEntry entry;
                entry.Offset = memberStart + start - 1;
                entry.Number = number >= 0 ? static_cast<int32_t>(number)
                                           : (index.Empty() ? 0 : index.Entries.back().Number);
                entry.Bytes = static_cast<uint16_t>(frame.EnsembleBytes);
                index.Entries.push_back(entry);
                index.CoveredBytes += record;
            }
            index.ResumeMember = k;
            index.ResumePosition = start + record;
            const int64_t done = read + (file.NextPosition() - from);
            if (done - reported >= kProgressEvery) {
                reported = done;
                const double value =
                    std::min(100.0, static_cast<double>(done) * 100.0 / static_cast<double>(toRead));
                if (!progress.DoValue(value)) {
                    index = EnsembleIndex{};
                    return IndexPassEnd::Stopped;
                }
            }
        }
        // The last member, still being written, may have grown while it was read (the starts of the
        // members before it stay as they were measured).
        if (k + 1 == members.size()) index.MemberLengths[k] = std::max(index.MemberLengths[k], file.Length());
        read += index.MemberLengths[k] - (from - 1);
    }
    index.ScannedBytes = read;
    Order_By_Number(index);
    return IndexPassEnd::Done;
}

} // namespace mvx

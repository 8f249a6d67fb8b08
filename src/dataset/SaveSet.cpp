#include "dataset/SaveSet.h"

#include "common/FileLength.h"
#include "common/OutputFile.h"
#include "dataset/MultiFile.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

namespace mvx {

namespace {

// Bytes copied from one place on, running on through the following files of the set.
struct CopyPiece {
    size_t Member = 0;
    int64_t Position = 1; // 1-based
    int64_t Bytes = 0;
};

// Records of ensembleBytes + 2 bytes per ensemble number, from the place the arithmetic gives the first;
// nothing when a member cannot be measured (unreadable names it).
std::optional<CopyPiece> ArithmeticPiece(const SetDescriptors& set, const std::vector<std::string>& members,
                                         int32_t ensembleBytes, int32_t first, int32_t last,
                                         std::string& unreadable) {
    const int64_t record = static_cast<int64_t>(ensembleBytes) + 2;
    CopyPiece piece;
    piece.Bytes = std::max<int64_t>(static_cast<int64_t>(last) - first + 1, 0) * record;
    piece.Position = std::max<int64_t>((static_cast<int64_t>(first) - set.FileFirstEnsemble) * record + 1, 1);
    for (; piece.Member < members.size(); ++piece.Member) {
        const int64_t length = File_Length(members[piece.Member]);
        if (length < 0) {
            unreadable = members[piece.Member];
            return std::nullopt;
        }
        if (piece.Position < length || piece.Member + 1 == members.size()) break;
        piece.Position -= length;
    }
    if (piece.Member >= members.size()) {
        unreadable = set.FileName;
        return std::nullopt;
    }
    return piece;
}

// The entries a load of first..last takes: from the one a request for first starts at, in file order,
// while their numbers lie in first..last (a number the file lacks is left out, a repeated one comes with
// its run); each whole as recorded, and entries that follow each other with nothing between are one
// piece.
std::vector<CopyPiece> IndexedPieces(const EnsembleIndex& index, int32_t first, int32_t last) {
    std::vector<CopyPiece> pieces;
    const std::optional<size_t> start = Entry_Of_Number(index, first);
    if (!start || last < first) return pieces;
    int64_t endOffset = -1;
    for (size_t i = *start; i < index.Count(); ++i) {
        const IndexEntry& entry = index.Entries[i];
        if (entry.Number < first || entry.Number > last) break;
        const int64_t bytes = int64_t{entry.Bytes} + 2;
        const SetPosition at = Entry_Position(index, i);
        if (!pieces.empty() && entry.Offset == endOffset && at.Member == pieces.back().Member) {
            pieces.back().Bytes += bytes;
        } else {
            pieces.push_back(CopyPiece{at.Member, at.Position, bytes});
        }
        endOffset = entry.Offset + bytes;
    }
    return pieces;
}

} // namespace

SaveSetResult Save_Ensemble_Range(const SetDescriptors& set, int32_t ensembleBytes, int32_t first,
                                  int32_t last, const std::string& target, int64_t* bytesWritten,
                                  std::string* message) {
    if (bytesWritten) *bytesWritten = 0;
    if (message) message->clear();
    auto failed = [message](const std::string& why) {
        if (message) *message = "Save failed: " + why;
        return SaveSetResult::Failed;
    };
    const std::string& source = set.FileName;
    if (target.empty() || target == source) return SaveSetResult::NothingToDo;
    if (!set.FileValid || source.empty() || ensembleBytes <= 0) return failed("no ensemble file is loaded");

    // An indexed set copies each ensemble whole from its own place; any other copies records of one
    // length from the first one's computed place.
    const bool indexed = !set.Index.Empty();
    const std::vector<std::string> members =
        indexed ? set.Index.Members : SetMemberPaths(source, set.MultiFileCount, set.QUARNFileCount);
    std::vector<CopyPiece> pieces;
    if (indexed) {
        pieces = IndexedPieces(set.Index, first, last);
    } else {
        std::string unreadable;
        const std::optional<CopyPiece> piece =
            ArithmeticPiece(set, members, ensembleBytes, first, last, unreadable);
        if (!piece) return failed("cannot read " + unreadable);
        pieces.push_back(*piece);
    }

    // A file that already holds data is never overwritten: OutputFile refuses it as it opens it.
    OutputFile out;
    if (!out.Open(target)) {
        if (!out.OverwriteRefused()) return failed(out.Error());
        if (message) *message = out.Error();
        return SaveSetResult::NotAllowed;
    }

    std::vector<char> buffer(1 << 20);
    for (const CopyPiece& piece : pieces) {
        if (!out.Ok()) break;
        int64_t remaining = piece.Bytes;
        for (size_t k = piece.Member; k < members.size() && remaining > 0 && out.Ok(); ++k) {
            std::ifstream in(members[k], std::ios::binary);
            if (!in) {
                out.Fail("cannot read " + members[k]);
                break;
            }
            if (k == piece.Member) in.seekg(piece.Position - 1);
            while (remaining > 0 && in) {
                const auto want = static_cast<std::streamsize>(
                    std::min<int64_t>(remaining, static_cast<int64_t>(buffer.size())));
                in.read(buffer.data(), want);
                const std::streamsize got = in.gcount();
                if (got <= 0) break;
                if (!out.Write(buffer.data(), static_cast<size_t>(got))) break;
                remaining -= got;
            }
        }
    }
    if (!out.Close()) return failed(out.Error());
    if (bytesWritten) *bytesWritten = static_cast<int64_t>(out.BytesWritten());
    return SaveSetResult::Saved;
}

} // namespace mvx

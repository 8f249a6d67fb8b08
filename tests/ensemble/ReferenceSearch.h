#pragma once
// The ensemble search read plainly, one byte at a time over bytes in memory, and the backward search for
// the last ensemble stepping one record at a time: slow, obviously faithful readings that the program's
// searches must agree with exactly. Positions are 1-based.
#include <cmath>
#include <cstdint>
#include <vector>

namespace mvx::reference {

struct File {
    const std::vector<uint8_t>* Bytes = nullptr;
    int64_t Next = 1; // next position to read
    bool AtEnd = false;

    int64_t Length() const { return static_cast<int64_t>(Bytes->size()); }
    void Seek(int64_t position) {
        Next = position < 1 ? 1 : position;
        AtEnd = false;
    }
    // One byte, or -1 at the end (the position stays).
    int ReadByte() {
        if (Next > Length()) {
            AtEnd = true;
            return -1;
        }
        return (*Bytes)[static_cast<size_t>(Next++ - 1)];
    }
    // count bytes from the position into out; a short read consumes what there is and ends the file.
    bool Read(int64_t count, std::vector<uint8_t>& out) {
        out.clear();
        while (static_cast<int64_t>(out.size()) < count) {
            const int b = ReadByte();
            if (b < 0) return false;
            out.push_back(static_cast<uint8_t>(b));
        }
        return true;
    }
};

struct Found {
    bool Ok = false;
    std::vector<uint8_t> Ensemble; // with its checksum
};

// Hunt for the sync byte, read the length, read the candidate, verify its checksum; a failure resumes
// one byte after the sync byte. Bytes that cannot start an ensemble count up to the limit (the
// framing's own unless one is given).
inline Found FindEnsemble(File& f, bool broadband, int32_t limit = 0) {
    Found result;
    if (f.AtEnd) return result;
    if (limit <= 0) limit = broadband ? 10000 : 65536;
    int32_t bad = 0;
    std::vector<uint8_t> head, candidate;
    for (;;) {
        const int b = f.ReadByte();
        if (b < 0) return result;
        const int64_t sync = f.Next - 1;
        const bool isSync = broadband ? b == 0x7F : b == 0x3F && sync > 3;
        if (!isSync) {
            if (++bad >= limit) return result;
            continue;
        }
        const int64_t start = broadband ? sync : sync - 3;
        if (broadband) {
            const int second = f.ReadByte();
            if (second < 0) return result;
            if (second != 0x7F) continue;
        } else {
            f.Seek(start);
        }
        if (!f.Read(4, head)) return result;
        const int32_t n = broadband ? head[0] | (head[1] << 8) : (head[0] << 8) | head[1];
        f.Seek(start);
        if (!f.Read(n + 2, candidate)) return result;
        uint32_t sum = 0;
        for (int32_t i = 0; i < n; ++i) sum += candidate[static_cast<size_t>(i)];
        const int stored =
            broadband ? candidate[n] | (candidate[n + 1] << 8) : (candidate[n] << 8) | candidate[n + 1];
        if (n >= 4 && (sum & 0xFFFF) == static_cast<uint32_t>(stored)) {
            result.Ok = true;
            result.Ensemble = candidate;
            return result;
        }
        f.Seek(sync + 1);
    }
}

// The members of a set read as one stream; a search that runs off the end of a member goes on at the
// start of the next one.
struct Stream {
    std::vector<std::vector<uint8_t>> Members;
    size_t Current = 0;
    File Member;

    int64_t Total() const {
        int64_t t = 0;
        for (const auto& m : Members) t += static_cast<int64_t>(m.size());
        return t;
    }
    void Seek(int64_t position) {
        int64_t local = position < 1 ? 1 : position;
        size_t k = 0;
        while (k + 1 < Members.size() && local > static_cast<int64_t>(Members[k].size())) {
            local -= static_cast<int64_t>(Members[k].size());
            ++k;
        }
        Current = k;
        Member = File{&Members[k]};
        Member.Seek(local);
    }
    Found Next(bool broadband) {
        for (;;) {
            Found found = FindEnsemble(Member, broadband);
            if (found.Ok || !Member.AtEnd || Current + 1 >= Members.size()) return found;
            ++Current;
            Member = File{&Members[Current]};
        }
    }
};

struct LastSearch {
    bool Found = false, Nvram = false;
    std::vector<std::vector<uint8_t>> Taken; // every ensemble taken as the last one, in order
    int32_t BytesAfter = 0;                  // EnsembleBytes the search leaves
};

// Near the end first (one or two ensembles from two records before it), then back one record at a time,
// each step searching forward, until an ensemble of the first one's length turns up.
inline LastSearch FindLast(Stream& s, bool broadband, int32_t firstBytes) {
    LastSearch r;
    r.BytesAfter = firstBytes;
    const int64_t total = s.Total();
    const int64_t nearEnd = total - 2 * static_cast<int64_t>(firstBytes) - 3;
    s.Seek(nearEnd > 0 ? nearEnd : 1);
    Found f = s.Next(broadband);
    if (f.Ok) {
        r.Taken.push_back(f.Ensemble);
        Found again = s.Next(broadband);
        if (again.Ok) r.Taken.push_back(again.Ensemble);
        r.BytesAfter = static_cast<int32_t>(r.Taken.back().size()) - 2;
        r.Found = true;
        return r;
    }
    const int64_t record = static_cast<int64_t>(firstBytes) + 2;
    const double ratio = static_cast<double>(total) / static_cast<double>(record);
    const int64_t count = static_cast<int64_t>(std::nearbyint(ratio));
    for (int64_t k = 3; k <= count; ++k) {
        const int64_t position = total - record * k + 1;
        if (position < 1) break;
        s.Seek(position);
        f = s.Next(broadband);
        if (f.Ok) {
            const int32_t n = static_cast<int32_t>(f.Ensemble.size()) - 2;
            if (n == firstBytes) {
                r.Taken.push_back(f.Ensemble);
                r.Found = true;
                return r;
            }
            if (n > 8000 && f.Ensemble[5] == 2) r.Nvram = true;
        }
    }
    return r;
}

} // namespace mvx::reference

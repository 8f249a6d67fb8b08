#pragma once
// Helpers shared by the two ensemble decoders: bounded reads of the ensemble bytes, the velocity
// scaling rule and the checks that keep every write inside the data set.
#include "common/Rounding.h"
#include "model/EnsembleFrame.h"
#include "model/EnsembleSet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mvx::detail {

// The ensemble's bytes without the checksum: at most EnsembleBytes, never more than the buffer holds.
class EnsembleBytesView {
  public:
    explicit EnsembleBytesView(const EnsembleFrame& frame)
        : data_(frame.EnsembleBuffer.data()),
          size_(std::min(static_cast<size_t>(std::max<int32_t>(frame.EnsembleBytes, 0)),
                         frame.EnsembleBuffer.size())) {}

    size_t Size() const { return size_; }
    const uint8_t* Data() const { return data_; }
    // True when bytes [offset, offset + count) lie inside the ensemble.
    bool Holds(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
    // Unchecked reads: callers test Holds first.
    uint8_t U8(size_t offset) const { return data_[offset]; }
    uint16_t LE16(size_t offset) const {
        return static_cast<uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    uint32_t LE32(size_t offset) const {
        return static_cast<uint32_t>(data_[offset]) | (static_cast<uint32_t>(data_[offset + 1]) << 8) |
               (static_cast<uint32_t>(data_[offset + 2]) << 16) |
               (static_cast<uint32_t>(data_[offset + 3]) << 24);
    }
    uint16_t BE16(size_t offset) const {
        return static_cast<uint16_t>((data_[offset] << 8) | data_[offset + 1]);
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

// A BCD byte: its two hexadecimal digits read as a decimal number (0x59 is 59).
inline uint8_t FromBcd(uint8_t b) {
    return static_cast<uint8_t>((b >> 4) * 10 + (b & 0x0F));
}

// A signed 16-bit quantity stored as an unsigned word.
inline int32_t SignedWord(uint16_t raw) {
    return raw > 32767 ? static_cast<int32_t>(raw) - 65536 : raw;
}
// A 32-bit binary angle stored unsigned: values from 2^31 on are negative angles.
inline int32_t SignedLong(uint32_t raw) {
    return static_cast<int32_t>(raw);
}

// Scales a velocity that is already signed, limits it to the 16-bit range without reaching the bad
// marker, and rounds it (halves to even).
inline int16_t ScaleLimited(double v) {
    v = std::clamp(v, -32767.0, 32767.0);
    return static_cast<int16_t>(RoundHalfEven(v));
}

// A water-velocity word: 0x8000 is bad; otherwise the signed value times scale, limited and rounded.
inline int16_t ScaledVelocity(uint16_t raw, double scale) {
    if (raw == 0x8000) return kBadValue;
    if (scale == 1.0) return static_cast<int16_t>(raw); // already an integer inside the limits
    return ScaleLimited(SignedWord(raw) * scale);
}

// The same with the sign inverted before rounding (bottom-track and reference-layer velocities).
inline int16_t ScaledInvertedVelocity(uint16_t raw, double scale) {
    if (raw == 0x8000) return kBadValue;
    const double v = std::clamp(SignedWord(raw) * scale, -32767.0, 32767.0);
    return static_cast<int16_t>(RoundHalfEven(-v));
}

// Mean of four counts rounded to the nearest integer, halves to even, in integer arithmetic.
inline uint8_t MeanOfFour(unsigned a, unsigned b, unsigned c, unsigned d) {
    const unsigned sum = a + b + c + d;
    unsigned q = sum >> 2;
    const unsigned r = sum & 3;
    if (r > 2 || (r == 2 && (q & 1))) ++q;
    return static_cast<uint8_t>(q);
}

// Whether slot lies inside a (rows x bins x slots) array that has at least `rows` rows.
template <typename T> bool SlotFits(const SlotArray<T>& a, int rows, int slot) {
    return !a.Empty() && slot >= 0 && slot < a.Slots() && a.Rows() >= rows && a.Bins() >= 1;
}
template <typename T> bool SlotFits(const SlotArray<T>& a, int slot) {
    return SlotFits(a, 1, slot);
}

// The number of cells the per-bin decoders handle: NumCells, never more than the bin dimension.
inline int StoredCells(int32_t numCells) {
    return std::clamp<int32_t>(numCells, 0, kMaxBins);
}

// Array bin of depth cell c: up-looking in order, down-looking reversed.
inline int BinOfCell(int cell, int cells, bool up) {
    return up ? cell : cells - 1 - cell;
}

// Writes the four velocities of every cell through cellValues(c, out) for the fit cells that lie inside the
// ensemble, and the bad marker for the cells beyond them; cells beyond the bin dimension are not stored.
template <typename CellValues>
void StoreVelocities(int cells, int fit, bool up, SlotArray<int16_t>& vel, int slot, CellValues cellValues) {
    for (int c = 0; c < cells; ++c) {
        const int bin = BinOfCell(c, cells, up);
        if (bin >= vel.Bins()) continue;
        const CellRows<int16_t> out = vel.Cell(bin, slot);
        if (c >= fit)
            out[0] = out[1] = out[2] = out[3] = kBadValue;
        else
            cellValues(c, out);
    }
}

// Writes per-cell four-beam bytes (correlation, echo intensity, percent good) for cells that fit in
// the ensemble; cells that do not fit are cleared. With mean, row 4 holds the rounded mean.
void StoreBeamBytes(const EnsembleBytesView& e, size_t first, size_t available, int cells, bool up,
                    SlotArray<uint8_t>& target, int slot, bool mean);

} // namespace mvx::detail

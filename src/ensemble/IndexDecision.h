#pragma once
// Whether a file keeps the fixed-length arithmetic or needs the exact index. The arithmetic puts
// ensemble e at (e - first) x (first length + 2) from the file's start; it is right for a file whose
// ensembles all have the first one's length and follow each other with nothing between (damaged
// ensembles keep their place and do not disturb it). A few reads tell such a file from any other, so
// it never pays for the index pass.
#include "common/Callbacks.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvx {

// What the statistics learnt of the file with the arithmetic.
struct ArithmeticFacts {
    int32_t FirstNumber = 0;
    int64_t FirstOffset = 0; // 0-based offset of the first ensemble's first byte in the set
    int32_t FirstBytes = 0;  // its EnsembleBytes
    int32_t LastNumber = 0;  // the last ensemble the statistics found
};

// True when every ensemble read sits exactly where the arithmetic puts its own number and has the
// first one's length: the first firstSubSet ensembles one after another, and the ensembles that the
// arithmetic's positions of a spread of numbers up to the last lead to (each must carry that number, or
// a higher one whose own place it is: the ensembles between were damaged). A set-up block, a number
// out of place or an ensemble of another length makes it False.
// members are the files of the set in order, structure its data structure.
bool Arithmetic_Holds(const std::vector<std::string>& members, int32_t structure,
                      const ArithmeticFacts& facts, int32_t firstSubSet, const YieldFn& yield);

// The last ensemble number the arithmetic makes of a set of setSize bytes whose last ensemble found is
// facts.LastNumber: when first..last take fewer bytes than the set holds and no set-up block was met,
// the set's size counted in ensembles of the first one's length; else the one found.
int32_t Arithmetic_Last_Ensemble(const ArithmeticFacts& facts, int64_t setSize, bool nvram);

} // namespace mvx

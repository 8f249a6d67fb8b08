#pragma once
// How the charts, the exports and the data viewer decide which way the whole set looks.
#include <cstdint>

namespace mvx {

// OrientationBalance counts +1 per down-looking and -1 per up-looking ensemble of the whole-set load: a
// set that is not mostly down-looking, a tie included, has its bins numbered as an up-looking one.
inline bool Mostly_Up_Looking(int32_t orientationBalance) {
    return orientationBalance < 1;
}

} // namespace mvx

#pragma once
// The program's window icon: a small colour contour.
#include <QIcon>

namespace mvx {

QIcon App_Icon();

} // namespace mvx

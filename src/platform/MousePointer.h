#pragma once
// The application-wide mouse pointer: default, cross or hourglass.
#include <QCursor>

namespace mvx {

enum class PointerShape { Default, Cross, Hourglass };

QCursor CursorFor(PointerShape shape);

// Sets the pointer over every window of the program. Default removes the override so each widget shows
// its own pointer again.
class MousePointer {
  public:
    ~MousePointer();
    void Set(PointerShape shape);
    PointerShape Shape() const { return shape_; }

  private:
    PointerShape shape_ = PointerShape::Default;
    bool overridden_ = false;
};

} // namespace mvx

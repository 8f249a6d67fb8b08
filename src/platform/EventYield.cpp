#include "platform/EventYield.h"

#include <QCoreApplication>

namespace mvx {

void EventYield::operator()() {
    if (inside_) return;
    if (clock_.isValid() && clock_.elapsed() < intervalMs_) return;
    Now();
}

void EventYield::Now() {
    if (inside_) return;
    inside_ = true;
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    ++count_;
    clock_.restart();
    inside_ = false;
}

} // namespace mvx

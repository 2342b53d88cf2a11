#include "ui/EventPump.h"

#include <QCoreApplication>

namespace quillo {

void EventPump::Pump() {
  if (Due()) PumpNow();
}

void EventPump::PumpNow() {
  QCoreApplication::processEvents();
  last_.restart();
}

}  // namespace quillo

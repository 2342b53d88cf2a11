#pragma once

#include <QElapsedTimer>

namespace quillo {

// Lets the window handle its pending events (repaints, the Cancel button)
// between the steps of a long operation on the window's own thread. Steps
// can come thousands of times a second; pumping at most every few
// milliseconds keeps the window just as responsive and the work fast.
class EventPump {
 public:
  void Pump();
  // Whether Pump would handle events now.
  bool Due() const { return !last_.isValid() || last_.elapsed() >= kIntervalMs; }
  // Pumps now, however recently it last did.
  void PumpNow();

 private:
  static constexpr int kIntervalMs = 10;
  QElapsedTimer last_;
};

}  // namespace quillo

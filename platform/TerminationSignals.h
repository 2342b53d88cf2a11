#pragma once

namespace quillo {

// SIGTERM, SIGHUP and SIGINT caught for as long as the object lives: Ctrl+C,
// a kill and a closed terminal all ask the program to stop, the way Cancel
// does. A worker polls Received(); an event loop watches WakeDescriptor(),
// which turns readable at each signal, and calls Drain() when it does. The
// default actions come back when the object goes. One object at a time.
class TerminationSignals final {
 public:
  // `needsWake`: a program that only watches the descriptor keeps the default
  // actions when no descriptor can be made, so that a signal still ends it.
  explicit TerminationSignals(bool needsWake = false);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // True once one of the signals arrived since the object was made.
  bool Received() const;
  // The descriptor to watch; -1 when none could be made.
  int WakeDescriptor() const;
  // Reads what the signals wrote, so that the descriptor waits again.
  void Drain();
};

}  // namespace quillo

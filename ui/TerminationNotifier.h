#pragma once

#include <QObject>

#include "platform/TerminationSignals.h"

namespace quillo {

// The termination signals as a Qt signal on the window's thread, so that
// being told to stop is handled like Cancel and a close: the running command
// stops and removes its partial output, and the settings are saved. One
// object per process.
class TerminationNotifier final : public QObject {
  Q_OBJECT

 public:
  explicit TerminationNotifier(QObject* parent = nullptr);

 signals:
  void received();

 private:
  TerminationSignals caught_{true};  // only the descriptor is watched
};

}  // namespace quillo

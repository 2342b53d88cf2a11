#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillo {

// SIGTERM, SIGHUP and SIGINT as a Qt signal on the window's thread, so that
// being told to stop is handled like Cancel and a close: the running command
// stops and removes its partial output, and the settings are saved. One
// object per process.
class TerminationSignals final : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void received();

 private:
  void Drain();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quillo

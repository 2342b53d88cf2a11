#include "ui/TerminationNotifier.h"

#include <QSocketNotifier>

namespace quillo {

TerminationNotifier::TerminationNotifier(QObject* parent) : QObject(parent) {
  if (caught_.WakeDescriptor() < 0) return;
  auto* notifier = new QSocketNotifier(caught_.WakeDescriptor(), QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] {
    caught_.Drain();
    emit received();
  });
}

}  // namespace quillo

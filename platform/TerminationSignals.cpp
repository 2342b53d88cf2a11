#include "platform/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace quillo {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// All a signal handler may touch: a lock-free flag and a write to a socket
// whose other end the event loop reads.
std::atomic<bool> received{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int wakeEnds[2] = {-1, -1};

// The write may fail; errno is kept for the code the signal interrupted.
extern "C" void OnSignal(int) {
  const int savedErrno = errno;
  received.store(true);
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeEnds[0], &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(bool needsWake) {
  received.store(false);
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeEnds) != 0) {
    wakeEnds[0] = wakeEnds[1] = -1;
    if (needsWake) return;
  }
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  for (int& end : wakeEnds) {
    if (end >= 0) ::close(end);
    end = -1;
  }
}

bool TerminationSignals::Received() const { return received.load(); }

int TerminationSignals::WakeDescriptor() const { return wakeEnds[1]; }

void TerminationSignals::Drain() {
  char bytes[16];
  [[maybe_unused]] const ssize_t read = ::read(wakeEnds[1], bytes, sizeof bytes);
}

}  // namespace quillo

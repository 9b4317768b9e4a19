#include "support/files/signal_cleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace brevant {

namespace {

// A handful of documents are written at once at most; each slot holds one path.
constexpr int kSlots = 16;

struct Slot {
  std::atomic<bool> taken{false};  // claimed by a writer
  std::atomic<bool> ready{false};  // the path is complete: the handler may use it
  char path[PATH_MAX];
};

Slot slots[kSlots];

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void RemovePendingFilesAndEnd(int signalNumber) {
  for (Slot& slot : slots) {
    if (slot.ready.load()) unlink(slot.path);  // async-signal-safe
  }
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);  // delivered when the handler returns: the program ends by the signal
}

}  // namespace

void RemovePendingFilesOnSignals() {
  static_assert(std::atomic<bool>::is_always_lock_free);
  struct sigaction action {};
  action.sa_handler = RemovePendingFilesAndEnd;
  sigemptyset(&action.sa_mask);
  for (int signalNumber : kEndingSignals) sigaddset(&action.sa_mask, signalNumber);
  for (int signalNumber : kEndingSignals) {
    struct sigaction previous {};
    // A signal ignored by whoever started us (nohup) stays ignored.
    if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(signalNumber, &action, nullptr);
  }
  signal(SIGXFSZ, SIG_IGN);
}

int NotePendingPath(const char* path) {
  if (std::strlen(path) >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!slots[i].taken.compare_exchange_strong(expected, true)) continue;
    std::strcpy(slots[i].path, path);
    slots[i].ready.store(true);
    return i;
  }
  return -1;
}

void ForgetPendingPath(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  slots[slot].ready.store(false);
  slots[slot].taken.store(false);
}

}  // namespace brevant

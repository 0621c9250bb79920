#include "ui/qt/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cerrno>

namespace lumaplot {
namespace {

// Read end and write end of the pipe; the handler may only use async-signal-safe calls.
int pipeEnds[2] = {-1, -1};

}  // namespace

TStopSignals::TStopSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadPipe(); });
  struct sigaction action {};
  action.sa_handler = Handle;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, &oldTerm_);
  sigaction(SIGHUP, &action, &oldHup_);
}

TStopSignals::~TStopSignals() {
  if (!notifier_) return;
  sigaction(SIGTERM, &oldTerm_, nullptr);
  sigaction(SIGHUP, &oldHup_, nullptr);
  delete notifier_;
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

void TStopSignals::Handle(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

void TStopSignals::ReadPipe() {
  char byte = 0;
  while (::read(pipeEnds[0], &byte, 1) == 1) emit Received(static_cast<unsigned char>(byte));
}

}  // namespace lumaplot

#include "util/ModemLines.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumaplot {
namespace {

void SetError(std::string* error, const std::string& what, const std::string& device, int err) {
  if (error) *error = what + " " + device + ": " + std::strerror(err);
}

}  // namespace

SerialModemLines::~SerialModemLines() { Close(); }

bool SerialModemLines::Open(const std::string& device, std::string* error) {
  Close();
  // Non-blocking: a port without carrier must not hang the open, and nothing here
  // ever waits for data. No controlling terminal: a port is not a console.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, "cannot open", device, errno);
    return false;
  }
  if (::ioctl(fd, TIOCEXCL) != 0) {
    const int err = errno;
    ::close(fd);
    SetError(error, "cannot use", device, err);
    return false;
  }
  fd_ = fd;
  device_ = device;
  return true;
}

void SerialModemLines::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  device_.clear();
}

bool SerialModemLines::RaiseRts(std::string* error) {
  if (fd_ < 0) {
    SetError(error, "cannot raise RTS on", "a closed port", EBADF);
    return false;
  }
  int bits = TIOCM_RTS;
  if (::ioctl(fd_, TIOCMBIS, &bits) != 0) {
    SetError(error, "cannot raise RTS on", device_, errno);
    return false;
  }
  return true;
}

bool SerialModemLines::ReadStatus(ModemStatus& status, std::string* error) {
  if (fd_ < 0) {
    SetError(error, "cannot read the lines of", "a closed port", EBADF);
    return false;
  }
  int bits = 0;
  if (::ioctl(fd_, TIOCMGET, &bits) != 0) {
    SetError(error, "cannot read the lines of", device_, errno);
    return false;
  }
  status.Cts = (bits & TIOCM_CTS) != 0;
  status.Dsr = (bits & TIOCM_DSR) != 0;
  status.Ring = (bits & TIOCM_RI) != 0;
  status.Rlsd = (bits & TIOCM_CD) != 0;
  return true;
}

}  // namespace lumaplot

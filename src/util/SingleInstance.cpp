#include "util/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lumaplot {

SingleInstanceLock::~SingleInstanceLock() { Release(); }

std::string SingleInstanceLock::DefaultFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return runtime;
  return "/tmp";
}

SingleInstanceLock::Result SingleInstanceLock::Acquire(const std::string& folder,
                                                       std::string* error) {
  if (Held()) return Result::Acquired;
  const std::string path = (folder.empty() ? DefaultFolder() : folder) + "/" + kFileName;
  // O_NOFOLLOW: in a shared folder such as /tmp the name might be a planted link.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
    return Result::Failed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) {
      if (error) *error = "another instance holds " + path;
      return Result::AlreadyRunning;
    }
    if (error) *error = "cannot lock " + path + ": " + std::strerror(err);
    return Result::Failed;
  }
  fd_ = fd;
  return Result::Acquired;
}

void SingleInstanceLock::Release() {
  if (fd_ < 0) return;
  // Closing drops the lock; the file stays so that no second instance races a removal.
  ::close(fd_);
  fd_ = -1;
}

}  // namespace lumaplot

#pragma once
// The guard that keeps a second copy of the program from starting: an exclusive
// flock() on "Lumaplot_is_running.lock". The lock lives as long as the object (or
// until Release) and dies with the process, so a crash never leaves it stuck. The
// file descriptor is closed on exec, so programs we start do not keep the lock.
// Used by main() on the GUI thread.
#include <string>

namespace lumaplot {

class SingleInstanceLock {
 public:
  enum class Result {
    Acquired,        // this is the only instance
    AlreadyRunning,  // another instance holds the lock
    Failed,          // the lock file could not be opened; whether another runs is unknown
  };

  static constexpr const char* kFileName = "Lumaplot_is_running.lock";

  SingleInstanceLock() = default;
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // $XDG_RUNTIME_DIR when set to an absolute path, else "/tmp".
  static std::string DefaultFolder();

  // Takes the lock in `folder` (DefaultFolder() when empty); the reason for
  // AlreadyRunning or Failed goes to `error`. Acquiring while holding is a no-op.
  Result Acquire(const std::string& folder = {}, std::string* error = nullptr);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace lumaplot

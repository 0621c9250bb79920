#pragma once
// While it lives, this process cannot write files past `bytes` (RLIMIT_FSIZE, with
// SIGXFSZ ignored so the write fails instead of ending the process). It makes a
// save fail half way, also for root, whom folder permissions do not stop.
#include <sys/resource.h>

#include <csignal>

namespace lumaplot::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit old_ {};
  void (*oldHandler_)(int) = nullptr;
};

}  // namespace lumaplot::test

#include "util/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

namespace lumaplot {
namespace {

// Symbolic links followed one by one before giving up, as the kernel does.
constexpr int kMaxLinkHops = 40;

std::string Reason(const std::string& what, const std::string& path, const std::string& why) {
  return what + " " + path + ": " + why;
}

void SetError(std::string* error, const std::string& what, const std::string& path, int err) {
  if (error) *error = Reason(what, path, std::strerror(err));
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Why a file of this kind is not taken, in words a user knows.
std::string NotAFileReason(mode_t mode) {
  const char* kind = "a special file";
  if (S_ISDIR(mode)) kind = "a folder";
  if (S_ISCHR(mode)) kind = "a character device";
  if (S_ISBLK(mode)) kind = "a block device";
  if (S_ISFIFO(mode)) kind = "a FIFO";
  if (S_ISSOCK(mode)) kind = "a socket";
  return std::string("it is ") + kind + ", not a regular file";
}

std::string TooLargeReason(std::size_t maxBytes) {
  return "the file is larger than " + std::to_string(maxBytes) + " bytes";
}

// Opens a regular file for reading. The kind is checked before opening, so no
// device or FIFO is ever opened, and again on the descriptor, in case the path was
// swapped in between. -1 with the reason otherwise.
int OpenForReading(const std::string& path, struct stat& st, std::string* error) {
  if (::stat(path.c_str(), &st) != 0) {
    SetError(error, "cannot open", path, errno);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    if (error) *error = Reason("cannot read", path, NotAFileReason(st.st_mode));
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, "cannot open", path, errno);
    return -1;
  }
  if (::fstat(fd, &st) != 0) {
    SetError(error, "cannot read", path, errno);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    if (error) *error = Reason("cannot read", path, NotAFileReason(st.st_mode));
    return -1;
  }
  // Reads of a regular file never return early; plain blocking reads from here on.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Reads up to `maxBytes` from `fd` into `bytes`. With `refuseLonger`, a file with
// more bytes than that is an error instead of being cut. Closes `fd`.
bool ReadUpTo(int fd, const struct stat& st, const std::string& path, std::size_t maxBytes,
              bool refuseLonger, std::string& bytes, std::string* error) {
  // The size is only a hint (files in /proc say 0; a file may grow while read).
  const auto hinted = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
  bytes.reserve(std::min(hinted, maxBytes));
  char buffer[65536];
  // One byte past the limit tells a file that is too long from one that fits.
  const std::size_t wanted = refuseLonger && maxBytes < SIZE_MAX ? maxBytes + 1 : maxBytes;
  while (bytes.size() < wanted) {
    const std::size_t chunk = std::min(sizeof buffer, wanted - bytes.size());
    const ssize_t n = ::read(fd, buffer, chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      bytes.clear();
      SetError(error, "cannot read", path, err);
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (bytes.size() > maxBytes) {
    bytes.clear();
    if (error) *error = Reason("cannot read", path, TooLargeReason(maxBytes));
    return false;
  }
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Follows symbolic links from `path` to the file they end at. `exists` tells
// whether something is there; `st` is its status when it is.
bool FollowLinks(const std::string& path, std::string& target, struct stat& st, bool& exists,
                 std::string* error) {
  target = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    if (::lstat(target.c_str(), &st) != 0) {
      if (errno != ENOENT) {
        SetError(error, "cannot write", path, errno);
        return false;
      }
      // Nothing there (or a link pointing nowhere): the file is made where it points.
      exists = false;
      return true;
    }
    if (!S_ISLNK(st.st_mode)) {
      exists = true;
      return true;
    }
    std::string link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<size_t>(n) == link.size()) {
      SetError(error, "cannot write", path, n < 0 ? errno : ENAMETOOLONG);
      return false;
    }
    link.resize(static_cast<size_t>(n));
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
  SetError(error, "cannot write", path, ELOOP);
  return false;
}

// Whether an existing target may be replaced, by the rules in FileIo.h.
bool MayReplace(const std::string& path, const std::string& target, const struct stat& st,
                std::string* error) {
  if (!S_ISREG(st.st_mode)) {
    if (error) *error = Reason("cannot write", path, NotAFileReason(st.st_mode));
    return false;
  }
  if ((st.st_mode & S_IWUSR) == 0) {
    if (error) *error = Reason("cannot write", path, "the file is read-only");
    return false;
  }
  // Writing over someone else's file needs their consent even where the folder is
  // ours; access() asks the system with the real user's rights.
  if (::access(target.c_str(), W_OK) != 0) {
    SetError(error, "cannot write", path, errno);
    return false;
  }
  return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error,
                   std::size_t maxBytes) {
  bytes.clear();
  struct stat st {};
  const int fd = OpenForReading(path, st, error);
  if (fd < 0) return false;
  if (static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) > maxBytes) {
    ::close(fd);
    if (error) *error = Reason("cannot read", path, TooLargeReason(maxBytes));
    return false;
  }
  return ReadUpTo(fd, st, path, maxBytes, true, bytes, error);
}

bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes,
                  std::string* error) {
  bytes.clear();
  struct stat st {};
  const int fd = OpenForReading(path, st, error);
  if (fd < 0) return false;
  return ReadUpTo(fd, st, path, maxBytes, false, bytes, error);
}

bool CheckReadableFile(const std::string& path, std::size_t maxBytes, std::string* error) {
  struct stat st {};
  const int fd = OpenForReading(path, st, error);
  if (fd < 0) return false;
  ::close(fd);
  if (static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) > maxBytes) {
    if (error) *error = Reason("cannot read", path, TooLargeReason(maxBytes));
    return false;
  }
  return true;
}

int OpenRegularFile(const std::string& path, std::string* error) {
  struct stat st {};
  return OpenForReading(path, st, error);
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool AtomicFile::Fail(std::string* error, int err) {
  Discard();
  SetError(error, "cannot write", path_, err);
  return false;
}

bool AtomicFile::Create(const std::string& path, std::string* error) {
  Discard();
  path_ = path;
  if (path.empty()) {
    if (error) *error = "no file name to write to";
    return false;
  }
  struct stat st {};
  bool exists = false;
  if (!FollowLinks(path, target_, st, exists, error)) return false;
  if (exists && !MayReplace(path, target_, st, error)) return false;

  std::string temp = FolderOf(target_) + "/.lumaplot-XXXXXX";
  fd_ = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd_ < 0) return Fail(error, errno);
  temp_ = temp;
  mode_t mode = 0;
  if (exists) {
    // Root saving a user's file must not make it root's; for anyone else this
    // fails harmlessly and the file becomes theirs, as any new file would.
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, st.st_uid, st.st_gid);
    }
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd_, mode) != 0) return Fail(error, errno);
  return true;
}

bool AtomicFile::Write(std::string_view bytes, std::string* error) {
  if (fd_ < 0) return Fail(error, EBADF);
  if (!WriteAll(fd_, bytes)) return Fail(error, errno);
  return true;
}

bool AtomicFile::Commit(std::string* error) {
  if (fd_ < 0) return Fail(error, EBADF);
  if (::fsync(fd_) != 0) return Fail(error, errno);
  // A close can report a write that failed late (network file systems).
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) return Fail(error, errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(error, errno);
  temp_.clear();
  return true;
}

int AtomicFile::CommitKeepingOpen(std::string* error) {
  if (fd_ < 0) {
    Fail(error, EBADF);
    return -1;
  }
  if (::fsync(fd_) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    Fail(error, errno);
    return -1;
  }
  temp_.clear();
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  AtomicFile file;
  return file.Create(path, error) && file.Write(bytes, error) && file.Commit(error);
}

bool CopyFileAtomically(const std::string& from, const std::string& to, std::string* error) {
  const int in = OpenRegularFile(from, error);
  if (in < 0) return false;
  AtomicFile file;
  bool ok = file.Create(to, error);
  char buffer[65536];
  while (ok) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      SetError(error, "cannot read", from, errno);
      ok = false;
      break;
    }
    ok = file.Write(std::string_view(buffer, static_cast<size_t>(n)), error);
  }
  ::close(in);
  return ok && file.Commit(error);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

}  // namespace lumaplot

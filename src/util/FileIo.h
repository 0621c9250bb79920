#pragma once
// Reading and saving whole files, the only way the program touches its files.
//
// Reading takes regular files only: a folder, device, FIFO or socket is refused
// without being opened (opening a FIFO blocks and opening a serial device moves its
// lines), and every read has a byte limit, so no path makes the program read
// without end.
//
// Saving goes through one routine, AtomicFile, of which WriteFileAtomically is the
// common case: the bytes go to a temporary file in the target's folder, are flushed
// to disk and renamed over the target, so a failed save leaves the old file whole.
// Before anything is written the target is checked:
// - a symbolic link is followed (to its final target) and that target is replaced,
//   so the link stays a link;
// - an existing target that is not a regular file (folder, device, FIFO, socket) is
//   refused;
// - a read-only file (the owner's write bit is off; this holds for root too, as the
//   read-only attribute does on Windows) or one the user may not write is refused;
// - the new file gets the old file's permission bits (and, where the system allows
//   it, its owner), a new file 0666 less the umask.
//
// Failures return false and, when `error` is given, a readable reason naming the
// path. Safe to call from any thread.
#include <cstddef>
#include <string>
#include <string_view>

namespace lumaplot {

// What ReadFileBytes reads at most unless the caller gives its own limit: more than
// any file of the program holds, small enough to fit in memory.
inline constexpr std::size_t kDefaultReadLimit = 64u * 1024u * 1024u;

// Reads the whole regular file at `path` into `bytes`. False (with `bytes` empty)
// when it is missing, not a regular file, larger than `maxBytes` or unreadable.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr,
                   std::size_t maxBytes = kDefaultReadLimit);

// Reads at most the first `maxBytes` of the regular file at `path` (all of it when
// it is shorter). False as ReadFileBytes, but a longer file is no error.
bool ReadFileHead(const std::string& path, std::size_t maxBytes, std::string& bytes,
                  std::string* error = nullptr);

// True when `path` names a regular file of at most `maxBytes` that this process may
// open for reading; otherwise false with the reason. For readers that open the file
// themselves (the picture decoder).
bool CheckReadableFile(const std::string& path, std::size_t maxBytes, std::string* error = nullptr);

// Opens the regular file at `path` read-only (close-on-exec) and returns its
// descriptor; -1 with the reason when it is missing or not a regular file. Never
// blocks on a FIFO. For readers that read a file piece by piece (recordings).
int OpenRegularFile(const std::string& path, std::string* error = nullptr);

// One save: the new content of `path`, written into a temporary file beside the
// target and put in place by a rename. Create checks the target as described above.
// Not committed (a failed write, an early return), the temporary file is removed
// when the object goes, and the target is never touched. Not thread safe; one
// owner.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Checks the target and creates the temporary file. False with the reason.
  bool Create(const std::string& path, std::string* error = nullptr);
  // The temporary file's descriptor, for writing; -1 before Create.
  int Fd() const { return fd_; }
  // Writes all of `bytes` at the current position. False with the reason.
  bool Write(std::string_view bytes, std::string* error = nullptr);
  // Flushes the file to disk, closes it and renames it over the target.
  bool Commit(std::string* error = nullptr);
  // Flushes the file to disk and renames it over the target, and hands the still
  // open descriptor (now the target's) to the caller, who closes it. -1 with the
  // reason on failure, when the temporary file is gone again.
  int CommitKeepingOpen(std::string* error = nullptr);
  // The file that is replaced: `path` with its symbolic links followed.
  const std::string& Target() const { return target_; }

 private:
  void Discard();
  bool Fail(std::string* error, int err);

  std::string path_;    // as the caller named it, for messages
  std::string target_;  // the file replaced
  std::string temp_;    // the temporary file while it exists
  int fd_ = -1;
};

// Writes `bytes` to `path` through AtomicFile: Create, Write, Commit.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

// Copies the regular file `from` to `to` through AtomicFile, piece by piece, so a
// recording of gigabytes needs no memory for it. `to` is checked as every save.
bool CopyFileAtomically(const std::string& from, const std::string& to,
                        std::string* error = nullptr);

// A regular file exists at `path` (symbolic links followed).
bool FileExists(const std::string& path);

// The owner's write bit is off (as after chmod a-w); holds for root too.
bool IsReadOnlyFile(const std::string& path);

}  // namespace lumaplot

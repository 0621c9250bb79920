#include "util/FileIo.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>

#include <gtest/gtest.h>

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

TEST(FileIo, AtomicWriteReplacesContentAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.dat", "old content that is longer");
  ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)));
  EXPECT_EQ(test::TempDir::Read(path), std::string("new\0bytes", 9));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(FileIo, AtomicWriteKeepsTheModeOfTheReplacedFile) {
  test::TempDir dir;
  const std::string path = dir.Write("a.ini", "x");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "y"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(FileIo, FailedWriteReportsAndLeavesOldFileWhole) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/folder/x.dat"), "data", &error));
  EXPECT_NE(error.find("x.dat"), std::string::npos);
  // A target that is a folder cannot be replaced by a file.
  const std::string folder = dir.File("sub");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(WriteFileAtomically(folder, "data", &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// A write that fails half way (here: the file size limit, which holds for root too)
// must not touch the file being replaced.
TEST(FileIo, WriteFailingHalfWayLeavesOldFileWholeAndNoTemporary) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.dat", "the user's plot");
  std::string error;
  bool written = false;
  {
    test::FileSizeLimit limit(4096);
    written = WriteFileAtomically(path, std::string(100000, 'x'), &error);
  }
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::TempDir::Read(path), "the user's plot");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(FileIo, ReadsWholeFilesAndRefusesWhatIsNotOne) {
  test::TempDir dir;
  std::string bytes;
  const std::string big(300000, 'z');
  ASSERT_TRUE(ReadFileBytes(dir.Write("big", big), bytes));
  EXPECT_EQ(bytes, big);
  std::string error;
  EXPECT_FALSE(ReadFileBytes(dir.File("missing"), bytes, &error));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadFileBytes(dir.Path(), bytes, &error));
}

TEST(FileIo, ReadOnlyMeansTheOwnerWriteBitIsOff) {
  test::TempDir dir;
  const std::string path = dir.Write("r.dat", "x");
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(IsReadOnlyFile(path));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_FALSE(FileExists(dir.File("missing")));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(""));
}

int EntriesIn(const std::string& folder) {
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}

// Makes a FIFO or a listening socket at `path`, inside the test's own folder.
void MakeFifo(const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0); }

class UnixSocket {
 public:
  explicit UnixSocket(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~UnixSocket() { ::close(fd_); }
  bool Bound() const { return bound_; }

 private:
  int fd_ = -1;
  bool bound_ = false;
};

struct SpecialTarget {
  const char* name;
  const char* reason;  // what the refusal says
  std::function<bool(const std::string&)> make;
  std::function<bool(const struct stat&)> isStill;
};

const SpecialTarget kSpecialTargets[] = {
    {"folder", "a folder", [](const std::string& p) { return ::mkdir(p.c_str(), 0777) == 0; },
     [](const struct stat& st) { return S_ISDIR(st.st_mode); }},
    {"fifo", "a FIFO", [](const std::string& p) { return ::mkfifo(p.c_str(), 0666) == 0; },
     [](const struct stat& st) { return S_ISFIFO(st.st_mode); }},
};

// A save never turns a folder, FIFO or socket into a file, also for root, and says
// what is there.
TEST(FileIo, SaveRefusesTargetsThatAreNotRegularFiles) {
  for (const SpecialTarget& target : kSpecialTargets) {
    SCOPED_TRACE(target.name);
    test::TempDir dir;
    const std::string path = dir.File(target.name);
    ASSERT_TRUE(target.make(path));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "data", &error));
    EXPECT_NE(error.find(target.reason), std::string::npos) << error;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(target.isStill(st));
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
  }
  test::TempDir dir;
  const std::string path = dir.File("sock");
  UnixSocket socket(path);
  ASSERT_TRUE(socket.Bound());
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(path, "data", &error));
  EXPECT_NE(error.find("a socket"), std::string::npos) << error;
  struct stat st {};
  ASSERT_EQ(::lstat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  // A link to a FIFO is refused as the FIFO is.
  const std::string fifo = dir.File("fifo");
  MakeFifo(fifo);
  std::filesystem::create_symlink("fifo", dir.File("link"));
  EXPECT_FALSE(WriteFileAtomically(dir.File("link"), "data", &error));
  EXPECT_NE(error.find("a FIFO"), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link")));
}

// The link stays a link and its target gets the new content, with its own mode;
// the temporary file goes to the target's folder, so the rename stays on one disk.
TEST(FileIo, SaveThroughASymbolicLinkReplacesItsTarget) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.File("real"));
  std::filesystem::create_directory(dir.File("links"));
  const std::string real = dir.Write("real/plot.dat", "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  // A relative link to a link: followed from each link's own folder.
  std::filesystem::create_symlink("../real/plot.dat", dir.File("links/first"));
  std::filesystem::create_symlink("first", dir.File("links/second"));
  const std::string link = dir.File("links/second");
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::filesystem::read_symlink(link), "first");
  EXPECT_EQ(test::TempDir::Read(real), "new");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntriesIn(dir.File("real")), 1);
  EXPECT_EQ(EntriesIn(dir.File("links")), 2);

  // A link that points nowhere yet: the file is made where it points.
  std::filesystem::create_symlink("../real/new.dat", dir.File("links/dangling"));
  ASSERT_TRUE(WriteFileAtomically(dir.File("links/dangling"), "made"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("links/dangling")));
  EXPECT_EQ(test::TempDir::Read(dir.File("real/new.dat")), "made");

  // A loop of links is an error, not a hang.
  std::filesystem::create_symlink("loop", dir.File("links/loop"));
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir.File("links/loop"), "x", &error));
  EXPECT_FALSE(error.empty());
}

// Read-only is the owner's write bit, which root does not override.
TEST(FileIo, SaveRefusesAReadOnlyFileAlsoForRoot) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.dat", "the user's plot");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  std::filesystem::create_symlink("plot.dat", dir.File("link"));
  for (const std::string& target : {path, dir.File("link")}) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(target, "changed", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  }
  EXPECT_EQ(test::TempDir::Read(path), "the user's plot");
  EXPECT_EQ(EntriesIn(dir.Path()), 2);
}

// A file the user may not write is not replaced, even in a folder the user may
// write. Root may write every file, so as root the save runs as another user.
TEST(FileIo, SaveRefusesAFileTheUserMayNotWrite) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a file of another user";
  test::TempDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
  const std::string path = dir.Write("LIBRARY.INI", "root's library");
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // nobody: may write the folder, not the file.
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    std::string error;
    if (WriteFileAtomically(path, "nobody's", &error)) ::_exit(1);
    ::_exit(error.find("Permission denied") != std::string::npos ? 0 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(test::TempDir::Read(path), "root's library");
  EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST(FileIo, UncommittedSaveLeavesTheTargetAndNoTemporary) {
  test::TempDir dir;
  const std::string path = dir.Write("rec.dat", "old recording");
  {
    AtomicFile file;
    ASSERT_TRUE(file.Create(path));
    ASSERT_TRUE(file.Write("half"));
  }
  EXPECT_EQ(test::TempDir::Read(path), "old recording");
  EXPECT_EQ(EntriesIn(dir.Path()), 1);

  // Committed but kept open: what is written after the rename lands in the target.
  AtomicFile file;
  ASSERT_TRUE(file.Create(path));
  ASSERT_TRUE(file.Write("header"));
  const int fd = file.CommitKeepingOpen();
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::write(fd, "+frame", 6), 6);
  ::close(fd);
  EXPECT_EQ(test::TempDir::Read(path), "header+frame");
  EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

// A recording's copy goes through the same save: links followed, read-only and
// special targets refused; and only a regular file is copied.
TEST(FileIo, CopiesGoThroughTheSave) {
  test::TempDir dir;
  std::string frames;
  for (int i = 0; i < 200000; ++i) frames += static_cast<char>(i * 7);
  const std::string source = dir.Write("take1.dat", frames);
  ASSERT_TRUE(CopyFileAtomically(source, dir.File("copy.dat")));
  EXPECT_EQ(test::TempDir::Read(dir.File("copy.dat")), frames);

  const std::string kept = dir.Write("kept.dat", "kept");
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
  std::string error;
  EXPECT_FALSE(CopyFileAtomically(source, kept, &error));
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(test::TempDir::Read(kept), "kept");

  const std::string fifo = dir.File("fifo");
  MakeFifo(fifo);
  EXPECT_FALSE(CopyFileAtomically(source, fifo, &error));
  EXPECT_FALSE(CopyFileAtomically(fifo, dir.File("from-fifo.dat"), &error));
  EXPECT_NE(error.find("a FIFO"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(dir.File("from-fifo.dat")));

  std::filesystem::create_symlink("copy.dat", dir.File("link.dat"));
  ASSERT_TRUE(CopyFileAtomically(kept, dir.File("link.dat")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.dat")));
  EXPECT_EQ(test::TempDir::Read(dir.File("copy.dat")), "kept");
  EXPECT_EQ(EntriesIn(dir.Path()), 5);
}

// Reading a FIFO must neither block (the old code waited for a writer for ever) nor
// read what a writer sends: refused at once.
TEST(FileIo, ReadsRefuseWhatIsNotARegularFileWithoutBlocking) {
  test::TempDir dir;
  const std::string fifo = dir.File("fifo");
  MakeFifo(fifo);
  UnixSocket socket(dir.File("sock"));
  ASSERT_TRUE(socket.Bound());
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {{fifo, "a FIFO"}, {dir.File("sock"), "a socket"}, {dir.Path(), "a folder"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto read = std::async(std::launch::async, [&] {
      std::string bytes;
      std::string error;
      std::string head;
      const bool whole = ReadFileBytes(c.path, bytes, &error);
      const bool part = ReadFileHead(c.path, 10, head);
      return std::make_tuple(whole || part || CheckReadableFile(c.path, 10), error);
    });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      // Let a blocked open of the FIFO return, so the test can end.
      const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
      FAIL() << "reading blocked";
    }
    const auto [accepted, error] = read.get();
    EXPECT_FALSE(accepted);
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_LT(OpenRegularFile(c.path), 0);
  }
}

TEST(FileIo, ReadsStopAtTheLimit) {
  test::TempDir dir;
  std::string bytes;
  std::string error;
  const std::string path = dir.Write("levels", std::string(5000, 'a'));
  EXPECT_FALSE(ReadFileBytes(path, bytes, &error, 4999));
  EXPECT_NE(error.find("larger than 4999 bytes"), std::string::npos) << error;
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(ReadFileBytes(path, bytes, &error, 5000));
  EXPECT_EQ(bytes.size(), 5000u);
  ASSERT_TRUE(ReadFileHead(path, 4096, bytes));
  EXPECT_EQ(bytes, std::string(4096, 'a'));
  ASSERT_TRUE(ReadFileHead(dir.Write("short", "ab"), 4096, bytes));
  EXPECT_EQ(bytes, "ab");
  EXPECT_FALSE(CheckReadableFile(path, 4999));
  EXPECT_TRUE(CheckReadableFile(path, 5000));

  // A sparse file past the default limit is refused before a byte is read.
  const std::string sparse = dir.Write("sparse", "");
  std::filesystem::resize_file(sparse, std::uintmax_t{1} << 30);
  EXPECT_FALSE(ReadFileBytes(sparse, bytes, &error));
  EXPECT_NE(error.find("larger than"), std::string::npos) << error;
  ASSERT_TRUE(ReadFileHead(sparse, 4096, bytes));
  EXPECT_EQ(bytes, std::string(4096, '\0'));

  // Files whose size says 0 are still read to their end (and limited by it).
  ASSERT_TRUE(ReadFileBytes("/proc/self/status", bytes));
  EXPECT_NE(bytes.find("Name:"), std::string::npos);
  EXPECT_FALSE(ReadFileBytes("/proc/self/status", bytes, &error, 10));
}

}  // namespace
}  // namespace lumaplot

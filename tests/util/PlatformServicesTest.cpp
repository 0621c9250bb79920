#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/FakeModemLines.h"
#include "support/TempDir.h"
#include "util/ModemLines.h"
#include "util/ProgramFolder.h"
#include "util/SingleInstance.h"

namespace lumaplot {
namespace {

// Sets an environment variable for the life of the object and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

TEST(ProgramFolderTest, ExecutableFolderWhenWritableAndNoOverride) {
  test::TempDir dir;
  ScopedEnv home("LUMAPLOT_HOME", nullptr);
  EXPECT_EQ(ResolveProgramFolder(dir.File("lumaplot")), dir.Path());
}

TEST(ProgramFolderTest, OverrideWinsAndIsCreated) {
  test::TempDir dir;
  ScopedEnv home("LUMAPLOT_HOME", (dir.Path() + "/made/here/").c_str());
  EXPECT_EQ(ResolveProgramFolder("/usr/bin/lumaplot"), dir.Path() + "/made/here");
  struct stat st {};
  EXPECT_EQ(::stat((dir.Path() + "/made/here").c_str(), &st), 0);
}

TEST(ProgramFolderTest, UnwritableFolderFallsBackToConfigFolder) {
  test::TempDir dir;
  const std::string notAFolder = dir.Write("file", "x");
  ScopedEnv config("XDG_CONFIG_HOME", dir.File("config").c_str());
  {
    ScopedEnv home("LUMAPLOT_HOME", notAFolder.c_str());
    EXPECT_EQ(ResolveProgramFolder("/usr/bin/lumaplot"), dir.File("config") + "/lumaplot");
  }
  {
    // /proc takes no new files, not even from root.
    ScopedEnv home("LUMAPLOT_HOME", nullptr);
    EXPECT_EQ(ResolveProgramFolder("/proc/lumaplot"), dir.File("config") + "/lumaplot");
  }
}

TEST(ProgramFolderTest, ConfigFolderDefaultsToHomeDotConfig) {
  test::TempDir dir;
  ScopedEnv home("LUMAPLOT_HOME", "/proc");
  ScopedEnv userHome("HOME", dir.Path().c_str());
  for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
    ScopedEnv config("XDG_CONFIG_HOME", xdg);
    EXPECT_EQ(ResolveProgramFolder(""), dir.Path() + "/.config/lumaplot");
  }
}

TEST(ProgramFolderTest, NoFolderAtAllIsAnError) {
  ScopedEnv home("LUMAPLOT_HOME", "/proc");
  ScopedEnv config("XDG_CONFIG_HOME", "/proc/sub");
  std::string error;
  EXPECT_EQ(ResolveProgramFolder("", &error), "");
  EXPECT_NE(error, "");
}

// A reader never leaves LUMAPLOT_HOME for another folder with another library; it
// says so when the folder is not writable. /proc takes no files, not even root's.
TEST(ProgramFolderTest, ReadersStayInTheGivenFolderAndSayWhenItIsNotWritable) {
  test::TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.File("config").c_str());
  const struct {
    const char* home;
    const char* executable;
    std::string folder;
    const char* note;  // a part of the note; empty: no note
  } cases[] = {
      {"/proc", "/usr/bin/lumaplot-cli", "/proc", "not writable"},
      {"/proc/", "", "/proc", "/proc (LUMAPLOT_HOME)"},
      {dir.Path().c_str(), "/proc/lumaplot-cli", dir.Path(), ""},
      {nullptr, "/proc/lumaplot-cli", dir.File("config") + "/lumaplot", "/proc is not writable"},
      {nullptr, "", dir.File("config") + "/lumaplot", "(unknown)"},
  };
  for (const auto& c : cases) {
    ScopedEnv home("LUMAPLOT_HOME", c.home);
    std::string note = "stale";
    EXPECT_EQ(ProgramFolderForReading(c.executable, &note), c.folder) << c.executable;
    if (std::string(c.note).empty()) {
      EXPECT_EQ(note, "");
    } else {
      EXPECT_NE(note.find(c.note), std::string::npos) << note;
    }
  }
  // A folder that is missing is named, and not made, by a reader.
  ScopedEnv home("LUMAPLOT_HOME", dir.File("missing").c_str());
  std::string note;
  EXPECT_EQ(ProgramFolderForReading(dir.File("x/lumaplot-cli"), &note), dir.File("missing"));
  EXPECT_NE(note.find("does not exist"), std::string::npos) << note;
  struct stat st {};
  EXPECT_NE(::stat(dir.File("missing").c_str(), &st), 0);
  EXPECT_NE(::stat(dir.File("config").c_str(), &st), 0);
}

TEST(ProgramFolderTest, SettingsFileIsNamedAfterTheExecutable) {
  EXPECT_EQ(SettingsFilePath("/opt/lp", "/usr/bin/lumaplot"), "/opt/lp/lumaplot.INI");
  EXPECT_EQ(SettingsFilePath("/opt/lp/", "/usr/bin/lumaplot-cli"), "/opt/lp/lumaplot-cli.INI");
  EXPECT_EQ(SettingsFilePath("/", ""), "/lumaplot.INI");
}

TEST(ProgramFolderTest, ExecutablePathIsThisTestProgram) {
  const std::string path = ExecutablePath();
  EXPECT_TRUE(path.ends_with("/test_util")) << path;
}

TEST(SingleInstanceTest, SecondLockInTheSameFolderIsRefusedUntilTheFirstGoes) {
  test::TempDir dir;
  SingleInstanceLock first;
  SingleInstanceLock second;
  std::string error;
  ASSERT_EQ(first.Acquire(dir.Path(), &error), SingleInstanceLock::Result::Acquired) << error;
  EXPECT_TRUE(first.Held());
  EXPECT_EQ(second.Acquire(dir.Path(), &error), SingleInstanceLock::Result::AlreadyRunning);
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(first.Acquire(dir.Path()), SingleInstanceLock::Result::Acquired);

  first.Release();
  EXPECT_EQ(second.Acquire(dir.Path()), SingleInstanceLock::Result::Acquired);
  EXPECT_TRUE(::access(dir.File(SingleInstanceLock::kFileName).c_str(), F_OK) == 0);
}

TEST(SingleInstanceTest, LockEndsWithItsObject) {
  test::TempDir dir;
  {
    SingleInstanceLock lock;
    ASSERT_EQ(lock.Acquire(dir.Path()), SingleInstanceLock::Result::Acquired);
  }
  SingleInstanceLock again;
  EXPECT_EQ(again.Acquire(dir.Path()), SingleInstanceLock::Result::Acquired);
}

TEST(SingleInstanceTest, UnusableFolderOrPlantedLinkFails) {
  test::TempDir dir;
  std::string error;
  SingleInstanceLock lock;
  EXPECT_EQ(lock.Acquire(dir.File("missing"), &error), SingleInstanceLock::Result::Failed);
  EXPECT_NE(error, "");
  ASSERT_EQ(::symlink(dir.Write("victim", "keep").c_str(),
                      dir.File(SingleInstanceLock::kFileName).c_str()),
            0);
  EXPECT_EQ(lock.Acquire(dir.Path()), SingleInstanceLock::Result::Failed);
  EXPECT_EQ(test::TempDir::Read(dir.File("victim")), "keep");
}

TEST(SingleInstanceTest, DefaultFolderIsTheRuntimeFolder) {
  {
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(SingleInstanceLock::DefaultFolder(), "/run/user/1000");
  }
  ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
  EXPECT_EQ(SingleInstanceLock::DefaultFolder(), "/tmp");
}

TEST(ModemLinesTest, MissingDeviceFailsCleanly) {
  SerialModemLines port;
  std::string error;
  EXPECT_FALSE(port.Open("/dev/lumaplot-no-such-port", &error));
  EXPECT_NE(error.find("/dev/lumaplot-no-such-port"), std::string::npos);
  EXPECT_FALSE(port.IsOpen());
  ModemStatus status;
  EXPECT_FALSE(port.RaiseRts());
  EXPECT_FALSE(port.ReadStatus(status));
}

TEST(ModemLinesTest, DeviceThatIsNotATerminalIsRefused) {
  SerialModemLines port;
  std::string error;
  EXPECT_FALSE(port.Open("/dev/null", &error));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_NE(error, "");
}

TEST(ModemLinesTest, TerminalWithoutModemLinesOpensButReadsFail) {
  // A pseudo-terminal is a terminal device but has no modem lines to read.
  int master = -1;
  int slave = -1;
  char name[256] = {};
  ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
  SerialModemLines port;
  std::string error;
  ASSERT_TRUE(port.Open(name, &error)) << error;
  EXPECT_TRUE(port.IsOpen());
  ModemStatus status;
  EXPECT_FALSE(port.ReadStatus(status, &error));
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  ::close(slave);
  ::close(master);
}

TEST(ModemLinesTest, FakeReportsTheLinesTheTestSets) {
  test::FakeModemLines fake;
  ModemLines& port = fake;
  ModemStatus status;
  EXPECT_FALSE(port.ReadStatus(status));
  ASSERT_TRUE(port.Open(kDefaultCom1Device));
  EXPECT_TRUE(port.RaiseRts());
  fake.Lines.Dsr = true;
  ASSERT_TRUE(port.ReadStatus(status));
  EXPECT_EQ(status, (ModemStatus{false, true, false, false}));
  EXPECT_EQ(fake.OpenedDevice, "/dev/ttyS0");
  EXPECT_EQ(fake.RtsRaised, 1);
}

}  // namespace
}  // namespace lumaplot

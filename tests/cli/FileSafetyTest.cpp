// lumaplot-cli with files that are not what they seem: saves onto FIFOs, folders,
// links and read-only files, reads of FIFOs, devices and huge files, a full disk and
// a program folder that cannot be written. Every special file is made by the test in
// its own temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingBytes.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using test::RunCli;
using test::TempDir;

const QString kData = LUMAPLOT_TEST_DATA;
const QString kPlot = kData + "/stage/windows_plot.dat";
const QString kLibrary = kData + "/library/windows_library.ini";
const QString kPresentation = kData + "/presentation/plot.dat";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Long enough for a slow sanitizer build; a command that blocks on a FIFO never ends.
constexpr int kTimeoutMs = 20000;

struct Target {
  const char* name;
  const char* reason;  // what the refusal says
};

// Makes `name` in `dir` as the kind of thing a save must not replace.
std::string MakeTarget(const TempDir& dir, const std::string& name) {
  const std::string path = dir.File(name);
  if (name == "fifo") ::mkfifo(path.c_str(), 0666);
  if (name == "folder") std::filesystem::create_directory(path);
  if (name == "readonly") {
    dir.Write(name, "the user's file");
    ::chmod(path.c_str(), 0444);
  }
  return path;
}

// The thing at `path` is still what MakeTarget made.
void ExpectUntouched(const std::string& path, const std::string& name) {
  struct stat st {};
  ASSERT_EQ(::lstat(path.c_str(), &st), 0);
  if (name == "fifo") {
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
  } else if (name == "folder") {
    EXPECT_TRUE(S_ISDIR(st.st_mode));
  } else {
    EXPECT_EQ(TempDir::Read(path), "the user's file");
  }
}

// Every command that saves refuses a FIFO, a folder and a read-only file (also as
// root), with exit status 1 and the reason, and leaves them as they were.
TEST(FileSafety, SavingCommandsRefuseTargetsTheyMustNotReplace) {
  const Target targets[] = {{"fifo", "a FIFO"}, {"folder", "a folder"}, {"readonly", "read-only"}};
  for (const Target& target : targets) {
    TempDir dir;
    const std::string path = MakeTarget(dir, target.name);
    const QStringList commands[] = {
        {"convert", kPlot, "-o", Q(path), "--library", kLibrary},
        {"list", kPlot, "-o", Q(path), "--library", kLibrary},
        {"render", kPresentation, "-o", Q(path), "--library", kLibrary},
    };
    for (const QStringList& args : commands) {
      SCOPED_TRACE(args.join(' ').toStdString());
      const auto r = RunCli(args, Q(dir.Path()), kTimeoutMs);
      EXPECT_EQ(r.status, 1);
      EXPECT_TRUE(r.err.contains(target.reason)) << r.err.toStdString();
      ExpectUntouched(path, target.name);
    }
  }
  // library-merge reads its target first: a FIFO or folder cannot be read, a
  // read-only library is read and then not saved.
  for (const Target& target : targets) {
    TempDir dir;
    const std::string path = MakeTarget(dir, target.name);
    if (std::string(target.name) == "readonly") {
      dir.Write("LIBRARY.INI", TempDir::Read(kLibrary.toStdString()));
      ::chmod(dir.File("LIBRARY.INI").c_str(), 0444);
    }
    const std::string library =
        std::string(target.name) == "readonly" ? dir.File("LIBRARY.INI") : path;
    const std::string before = TempDir::Read(kLibrary.toStdString());
    const auto r = RunCli({"library-merge", Q(library), kLibrary}, Q(dir.Path()), kTimeoutMs);
    EXPECT_EQ(r.status, 1) << target.name;
    EXPECT_TRUE(r.err.contains(target.reason)) << r.err.toStdString();
    ExpectUntouched(path, target.name);
    if (std::string(target.name) == "readonly") {
      EXPECT_EQ(TempDir::Read(library), before);
    }
  }
}

// A link stays a link; its target gets the new plot.
TEST(FileSafety, SavingThroughALinkReplacesItsTarget) {
  TempDir dir;
  const std::string real = dir.Write("real.dat", "old");
  std::filesystem::create_symlink("real.dat", dir.File("link.dat"));
  const auto r = RunCli({"convert", kPlot, "-o", Q(dir.File("link.dat")), "--library", kLibrary},
                        Q(dir.Path()));
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.dat")));
  EXPECT_EQ(TempDir::Read(real), TempDir::Read(kPlot.toStdString()));
}

// What is not a plot, library or recording file is named for what it is, at once.
TEST(FileSafety, ReadingCommandsSayWhatIsWrongWithAPath) {
  TempDir dir;
  const std::string fifo = MakeTarget(dir, "fifo");
  const struct {
    QStringList args;
    const char* says;
  } cases[] = {
      // Never opened: the kind of a path is looked at first.
      {{"objects", "/dev/zero", "--library", kLibrary}, "a character device"},
      {{"objects", Q(fifo), "--library", kLibrary}, "a FIFO"},
      {{"objects", Q(dir.Path()), "--library", kLibrary}, "a folder"},
      {{"objects", Q(dir.File("none.dat")), "--library", kLibrary}, "No such file"},
      {{"objects", kPlot, "--library", Q(fifo)}, "a FIFO"},
      {{"library", "/dev/zero"}, "a character device"},
      {{"library", Q(fifo)}, "a FIFO"},
      {{"library-merge", Q(dir.File("t.ini")), Q(fifo)}, "a FIFO"},
      {{"rec-info", Q(fifo)}, "a FIFO"},
      {{"rec-frame", Q(fifo), "0"}, "a FIFO"},
      {{"lights", kPlot, "--library", kLibrary, "--levels", Q(fifo)}, "a FIFO"},
      {{"lights", kPlot, "--library", kLibrary, "--recording", Q(fifo), "--at", "0"}, "a FIFO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const auto r = RunCli(c.args, Q(dir.Path()), kTimeoutMs);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
  }
}

// --levels takes the first 4096 bytes and never reads the rest: a sparse file of a
// gibibyte costs no more than a small one.
TEST(FileSafety, LevelsAreReadUpToTheLastChannelOnly) {
  TempDir dir;
  const std::string levels = dir.Write("levels.bin", std::string(4096, '\x40'));
  std::filesystem::resize_file(levels, std::uintmax_t{1} << 30);
  const auto r =
      RunCli({"lights", kPlot, "--library", kLibrary, "--levels", Q(levels), "--set", "A001=255"},
             Q(dir.Path()), kTimeoutMs);
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_FALSE(lines.isEmpty());
  const QJsonObject first = QJsonDocument::fromJson(lines.first().toUtf8()).object();
  EXPECT_EQ(first["Levels"].toArray(), (QJsonArray{255, 0x40, 0x40}));
}

// The header of a killed or hostile recording may claim any count; the message
// names the frames the file holds.
TEST(FileSafety, RecFrameNamesTheFramesTheFileHolds) {
  TempDir dir;
  const std::string path = dir.Write("claims.dat", test::RecordingBytes(4096, 2147483647, 3, 4096));
  const auto r = RunCli({"rec-frame", Q(path), "5"}, Q(dir.Path()));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.contains("it holds 3 frames")) << r.err.toStdString();
  EXPECT_FALSE(r.err.contains("2147483647")) << r.err.toStdString();
}

// A plot naming a picture that cannot be shown is not rendered as if all were well.
TEST(FileSafety, RenderFailsWhenTheBackgroundPictureIsNotShown) {
  TempDir dir;
  const std::string plot = TempDir::Read(kPresentation.toStdString());
  const std::string fifo = MakeTarget(dir, "fifo");
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(Q(dir.File("good.png")), "PNG"));
  const struct {
    std::string picture;
    int status;
    const char* says;
  } cases[] = {
      {dir.Write("text.png", "no picture"), 1, "text.png"},
      {fifo, 1, "a FIFO"},
      {dir.File("missing.png"), 1, "not found"},
      {dir.File("good.png"), 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    const std::string withPicture = dir.Write("plot.dat", plot + "BgImage=" + c.picture + "\r\n");
    const std::string out = dir.File("page.png");
    std::filesystem::remove(out);
    const auto r = RunCli(
        {"render", Q(withPicture), "-o", Q(out), "--library", kData + "/presentation/LIBRARY.INI"},
        Q(dir.Path()), kTimeoutMs);
    EXPECT_EQ(r.status, c.status) << r.err.toStdString();
    EXPECT_EQ(std::filesystem::exists(out), c.status == 0);
    if (c.status != 0) {
      EXPECT_TRUE(r.err.contains("background picture")) << r.err.toStdString();
      EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
  }
}

// A disk too full for the header: record fails and leaves no empty file. The size
// limit is inherited by the command's process.
TEST(FileSafety, RecordOntoAFullDiskLeavesNoFile) {
  TempDir dir;
  const std::string out = dir.File("full.dat");
  test::CliResult r;
  {
    test::FileSizeLimit limit(100);
    r = RunCli({"record", "-o", Q(out), "--seconds", "1", "--bind", "127.0.0.1", "--udp-port", "0"},
               Q(dir.Path()), kTimeoutMs);
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.contains("full.dat")) << r.err.toStdString();
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Runs the command with a program folder it cannot write to. Root writes anywhere,
// so as root the command runs as nobody, for whom the folder is read-only.
test::CliResult RunWithReadOnlyHome(const QStringList& args, const TempDir& home,
                                    const TempDir& config) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LUMAPLOT_HOME", Q(home.Path()));
  env.insert("XDG_CONFIG_HOME", Q(config.Path()));
  process.setProcessEnvironment(env);
  ::chmod(home.Path().c_str(), 0555);
  ::chmod(config.Path().c_str(), 0777);
  if (::geteuid() == 0) {
    process.setChildProcessModifier([] {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
    });
  }
  process.start(LUMAPLOT_CLI_PATH, args);
  test::CliResult result;
  if (process.waitForFinished(kTimeoutMs)) {
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
  }
  ::chmod(home.Path().c_str(), 0755);
  return result;
}

// The program folder's library is read even when the folder cannot be written to
// (before, the command went to another folder and called every type missing), and
// the command says which folder it reads.
TEST(FileSafety, AReadOnlyProgramFolderIsReadAndNamed) {
  TempDir home;
  TempDir config;
  home.Write("LIBRARY.INI", TempDir::Read(kLibrary.toStdString()));
  const std::string plot = home.Write("plot.dat", TempDir::Read(kPlot.toStdString()));
  ::chmod(home.Path().c_str(), 0755);
  const auto r = RunWithReadOnlyHome({"objects", Q(plot)}, home, config);
  ASSERT_EQ(r.status, 0) << r.err.toStdString();
  EXPECT_FALSE(r.err.contains("missing type")) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(Q(home.Path()))) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("not writable")) << r.err.toStdString();
  EXPECT_FALSE(std::filesystem::exists(config.File("lumaplot")));
}

}  // namespace
}  // namespace lumaplot

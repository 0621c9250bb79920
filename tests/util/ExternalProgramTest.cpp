#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "util/ExternalProgram.h"

namespace lumaplot {
namespace {

using Arguments = std::vector<std::string>;

class OpenWithProgramTest : public ::testing::Test {
 protected:
  // Opens through a starter that records the argument vector instead of starting.
  bool Open(const std::string& fileSpec, const std::string& program, const std::string& templ) {
    started_.clear();
    return OpenWithProgram(fileSpec, program, templ, &error_,
                           [this](const Arguments& arguments, std::string*) {
                             started_.push_back(arguments);
                             return true;
                           });
  }

  test::TempDir dir_;
  std::vector<Arguments> started_;
  std::string error_;
};

TEST_F(OpenWithProgramTest, FileNameWithBlankStaysOneArgument) {
  const std::string file = dir_.Write("light list.txt", "x");
  ASSERT_TRUE(Open(file, "notepad", ""));
  EXPECT_EQ(started_, (std::vector<Arguments>{{"notepad", file}}));
}

TEST_F(OpenWithProgramTest, NameWithBracketsIsTakenWholeWhenItExists) {
  ::mkdir(dir_.File("My Plots").c_str(), 0755);
  const std::string file = dir_.Write("My Plots/list (2).txt", "x");
  ASSERT_TRUE(Open(file, "editor", "+$L $F"));
  EXPECT_EQ(started_, (std::vector<Arguments>{{"editor", "+1", file}}));
}

TEST_F(OpenWithProgramTest, PositionGivesTheLineNumber) {
  const std::string file = dir_.Write("plot.txt", "x");
  const std::string spaced = dir_.Write("a b.txt", "x");
  const struct {
    std::string fileSpec;
    std::string file;
    std::string line;
  } cases[] = {
      {file + "(12)", file, "12"},
      {file + "(12): error", file, "12"},
      {file + " (7, 3)", file, "1"},
      {file + " 34", file, "34"},
      {file + " 34:5", file, "34"},
      {file + " x", file, "1"},
      {file + "(0)", file, "1"},
      {file + "(-4)", file, "1"},
      {"\"" + spaced + "\" 9", spaced, "9"},
      {"\"" + spaced + "\"(5)", spaced, "5"},
      {"  " + file + "  ", file, "1"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Open(c.fileSpec, "ed", "-n$L \"$F\"")) << c.fileSpec;
    EXPECT_EQ(started_, (std::vector<Arguments>{{"ed", "-n" + c.line, c.file}})) << c.fileSpec;
  }
}

TEST_F(OpenWithProgramTest, TemplateIsSplitBeforeSubstitution) {
  const std::string file = dir_.Write("$L and $F; rm -rf x.txt", "x");
  ASSERT_TRUE(Open("\"" + file + "\"(3)", "code", "--goto \"$F:$L\"  --reuse-window"));
  EXPECT_EQ(started_, (std::vector<Arguments>{{"code", "--goto", file + ":3", "--reuse-window"}}));
}

TEST_F(OpenWithProgramTest, RelativeNameStartingWithDashCannotBeAnOption) {
  const std::string old = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Path());
  dir_.Write("-rf.txt", "x");
  const bool opened = Open("-rf.txt", "ed", "");
  std::filesystem::current_path(old);
  ASSERT_TRUE(opened);
  EXPECT_EQ(started_, (std::vector<Arguments>{{"ed", "./-rf.txt"}}));
}

TEST_F(OpenWithProgramTest, StartsNothingWithoutProgramOrExistingFile) {
  const std::string file = dir_.Write("plot.txt", "x");
  EXPECT_FALSE(Open(file, "", ""));
  EXPECT_FALSE(Open(file, "   ", ""));
  EXPECT_FALSE(Open("", "notepad", ""));
  EXPECT_FALSE(Open(dir_.File("missing.txt"), "notepad", ""));
  EXPECT_FALSE(Open(dir_.Path(), "notepad", ""));
  EXPECT_FALSE(Open("\"\"", "notepad", ""));
  EXPECT_TRUE(started_.empty());
  EXPECT_NE(error_, "");
}

TEST_F(OpenWithProgramTest, StarterFailureIsReported) {
  const std::string file = dir_.Write("plot.txt", "x");
  std::string error;
  EXPECT_FALSE(OpenWithProgram(file, "ed", "", &error, [](const Arguments&, std::string* why) {
    *why = "refused";
    return false;
  }));
  EXPECT_EQ(error, "refused");
}

TEST(StartProgramTest, StartsARealProgram) {
  std::string error;
  EXPECT_TRUE(StartProgram({"/bin/true"}, &error)) << error;
  EXPECT_TRUE(StartProgram({"true", "ignored argument"}, &error)) << error;
}

TEST(StartProgramTest, MissingProgramFailsWithAReason) {
  std::string error;
  EXPECT_FALSE(StartProgram({"lumaplot-no-such-program-here"}, &error));
  EXPECT_NE(error.find("lumaplot-no-such-program-here"), std::string::npos);
  EXPECT_FALSE(StartProgram({}, &error));
}

TEST(EditorProgramTest, WindowsDefaultAndEmptyGoToTheDesktopOpener) {
  const struct {
    const char* setting;
    const char* program;
  } cases[] = {
      {"", "xdg-open"},
      {"notepad", "xdg-open"},
      {"NOTEPAD.EXE", "xdg-open"},
      {"C:\\Windows\\notepad.exe", "xdg-open"},
      {" notepad ", "xdg-open"},
      {"/usr/bin/mousepad", "/usr/bin/mousepad"},
      {"notepadqq", "notepadqq"},
      {"/opt/notepad/bin/gedit", "/opt/notepad/bin/gedit"},
  };
  for (const auto& c : cases) EXPECT_EQ(EditorProgram(c.setting), c.program) << c.setting;
}

}  // namespace
}  // namespace lumaplot

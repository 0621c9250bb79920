#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "util/Version.h"

namespace lumaplot {
namespace {

using test::RunCli;

TEST(CliBasics, HelpListsCommandsAndSucceeds) {
  const auto r = RunCli({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.contains("Usage: lumaplot-cli COMMAND"));
  EXPECT_TRUE(r.out.contains("version"));
}

TEST(CliBasics, WrongUsageExitsTwoWithAMessage) {
  const QStringList cases[] = {{}, {"no-such-command"}, {"version", "extra"}};
  for (const auto& args : cases) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
    EXPECT_FALSE(r.err.isEmpty());
  }
}

TEST(CliBasics, VersionIsTheCompiledInVersion) {
  const auto r = RunCli({"version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.trimmed(), LUMAPLOT_VERSION_STRING);
}

}  // namespace
}  // namespace lumaplot

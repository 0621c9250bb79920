#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/SingleInstance.h"

namespace lumaplot {
namespace {

// While another instance holds the lock, the program ends at once with status 255
// and shows nothing; the holder keeps its lock.
TEST(SecondInstance, EndsAtOnceWithStatus255) {
  test::TempDir runtime;
  test::TempDir home;
  SingleInstanceLock first;
  ASSERT_EQ(first.Acquire(runtime.Path()), SingleInstanceLock::Result::Acquired);

  QProcess second;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
  environment.insert("LUMAPLOT_HOME", QString::fromStdString(home.Path()));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("LUMAPLOT_ARTNET_BIND", "127.0.0.1");
  environment.insert("LUMAPLOT_ARTNET_PORT", "0");
  environment.insert("LUMAPLOT_ARTNET_DEST", "127.0.0.1");
  second.setProcessEnvironment(environment);
  second.start(LUMAPLOT_GUI_PATH, {});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 255);
  EXPECT_TRUE(first.Held());
  // Nothing was created in the program folder: it ended before reading settings.
  EXPECT_FALSE(std::filesystem::exists(home.File("HdrData")));
}

}  // namespace
}  // namespace lumaplot

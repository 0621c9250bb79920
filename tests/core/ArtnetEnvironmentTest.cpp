#include <cstdlib>

#include <gtest/gtest.h>

#include "core/ArtnetEnvironment.h"

namespace lumaplot {
namespace {

class ArtnetEnvironmentTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name : {kArtnetBindVariable, kArtnetPortVariable, kArtnetDestVariable}) {
      ::unsetenv(name);
    }
  }
  static void Set(const char* name, const char* value) { ::setenv(name, value, 1); }
};

TEST_F(ArtnetEnvironmentTest, UnsetVariablesKeepTheProgramsDefaults) {
  ArtnetOptions options;
  Set(kArtnetBindVariable, "");
  ASSERT_TRUE(ReadArtnetEnvironment(options));
  EXPECT_EQ(options.BindIp, "0.0.0.0");
  EXPECT_EQ(options.UdpPort, kArtnetPort);
  EXPECT_EQ(options.DestIp, "");
  EXPECT_EQ(options.DestPort, 0);
}

TEST_F(ArtnetEnvironmentTest, ReadsAddressPortAndDestination) {
  Set(kArtnetBindVariable, "127.0.0.1");
  Set(kArtnetPortVariable, "0");
  Set(kArtnetDestVariable, "127.0.0.2:7000");
  ArtnetOptions options;
  ASSERT_TRUE(ReadArtnetEnvironment(options));
  EXPECT_EQ(options.BindIp, "127.0.0.1");
  EXPECT_EQ(options.UdpPort, 0);
  EXPECT_EQ(options.DestIp, "127.0.0.2");
  EXPECT_EQ(options.DestPort, 7000);
  Set(kArtnetDestVariable, "127.0.0.3");
  ASSERT_TRUE(ReadArtnetEnvironment(options));
  EXPECT_EQ(options.DestIp, "127.0.0.3");
  EXPECT_EQ(options.DestPort, 0);
}

TEST_F(ArtnetEnvironmentTest, RefusesValuesThatAreNotAddressesOrPorts) {
  const struct {
    const char* name;
    const char* value;
  } cases[] = {
      {kArtnetBindVariable, "localhost"},   {kArtnetBindVariable, "127.0.0.256"},
      {kArtnetPortVariable, "65536"},       {kArtnetPortVariable, "64k"},
      {kArtnetPortVariable, "-1"},          {kArtnetDestVariable, "127.0.0.1:"},
      {kArtnetDestVariable, "127.0.0.1:0"}, {kArtnetDestVariable, "2.255.255.255:6454:1"},
  };
  for (const auto& c : cases) {
    TearDown();
    Set(c.name, c.value);
    ArtnetOptions options;
    std::string error;
    EXPECT_FALSE(ReadArtnetEnvironment(options, &error)) << c.name << "=" << c.value;
    EXPECT_NE(error.find(c.name), std::string::npos);
  }
}

}  // namespace
}  // namespace lumaplot

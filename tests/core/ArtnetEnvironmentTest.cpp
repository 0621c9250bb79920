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

TEST_F(ArtnetEnvironmentTest, TellsWhichAddressesTheEnvironmentFixes) {
  Set(kArtnetBindVariable, "");
  Set(kArtnetDestVariable, "");
  EXPECT_FALSE(ArtnetBindFromEnvironment());
  EXPECT_FALSE(ArtnetDestFromEnvironment());
  Set(kArtnetDestVariable, "127.0.0.1");
  EXPECT_FALSE(ArtnetBindFromEnvironment());
  EXPECT_TRUE(ArtnetDestFromEnvironment());
  Set(kArtnetBindVariable, "0.0.0.0");  // "every interface", said on purpose
  EXPECT_TRUE(ArtnetBindFromEnvironment());
}

// The settings' network choices over the options the process starts with.
TEST(NetworkChoices, SettingsChooseWhatTheProcessLeavesOpen) {
  const std::vector<NetInterface> host = {{"lo", 0x7F000001, 0xFF000000},
                                          {"eth0", 0xC0A80105, 0xFFFFFF00},    // 192.168.1.5/24
                                          {"veth1", 0x02000007, 0xFF000000}};  // 2.0.0.7/8
  const struct {
    const char* name;
    const char* fixedBind;  // the process's options: BindIp, DestIp
    const char* fixedDest;
    bool bindFixed;
    bool destFixed;
    const char* bind;  // the settings
    const char* dest;
    const char* wantBind;
    const char* wantDest;
  } cases[] = {
      {"nothing chosen", "0.0.0.0", "", false, false, "", "", "0.0.0.0", ""},
      {"one address", "0.0.0.0", "", false, false, "127.0.0.1", "", "127.0.0.1", ""},
      {"unicast", "0.0.0.0", "", false, false, "", "2.0.0.20", "0.0.0.0", "2.0.0.20"},
      {"its subnet", "0.0.0.0", "", false, false, "192.168.1.5", "Subnet", "192.168.1.5",
       "192.168.1.255"},
      {"subnet of every interface", "0.0.0.0", "", false, false, "", "Subnet", "0.0.0.0",
       "2.255.255.255"},
      {"subnet of a lost address", "0.0.0.0", "", false, false, "10.1.1.1", "Subnet", "10.1.1.1",
       ""},
      {"not addresses", "0.0.0.0", "", false, false, "eth0", "far", "0.0.0.0", ""},
      {"environment wins", "127.0.0.1", "127.0.0.1", true, true, "2.0.0.7", "2.255.255.255",
       "127.0.0.1", "127.0.0.1"},
      {"only the bind fixed", "127.0.0.1", "", true, false, "2.0.0.7", "Subnet", "127.0.0.1",
       "127.255.255.255"},
  };
  for (const auto& c : cases) {
    ArtnetOptions options;
    options.BindIp = c.fixedBind;
    options.DestIp = c.fixedDest;
    options.DestPort = 7000;
    const ArtnetOptions got =
        WithNetworkChoices(options, c.bindFixed, c.destFixed, c.bind, c.dest, host);
    EXPECT_EQ(got.BindIp, c.wantBind) << c.name;
    EXPECT_EQ(got.DestIp, c.wantDest) << c.name;
    EXPECT_EQ(got.DestPort, 7000) << c.name;
    // Listening on one address chosen in the settings hears its network's broadcasts.
    EXPECT_EQ(got.ListenBroadcasts,
              !c.bindFixed && std::string(c.bind).find('.') != std::string::npos)
        << c.name;
  }
}

}  // namespace
}  // namespace lumaplot

#include "core/ArtnetEnvironment.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "dmx/NetInterfaces.h"

namespace lumaplot {
namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string_view(value) : std::string_view();
}

bool ReadPort(std::string_view text, uint16_t& port) {
  unsigned value = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end != text.data() + text.size() || value > 65535) return false;
  port = static_cast<uint16_t>(value);
  return true;
}

bool ReadAddress(std::string_view text, std::string& ip) {
  uint32_t address = 0;
  if (!ParseIpv4(text, address)) return false;
  ip = std::string(text);
  return true;
}

bool Fail(const char* name, std::string_view value, const char* expected, std::string* error) {
  if (error) *error = std::string(name) + "=" + std::string(value) + ": " + expected;
  return false;
}

}  // namespace

bool ReadArtnetEnvironment(ArtnetOptions& options, std::string* error) {
  if (const auto bind = Variable(kArtnetBindVariable); !bind.empty()) {
    if (!ReadAddress(bind, options.BindIp)) {
      return Fail(kArtnetBindVariable, bind, "an IPv4 address is needed", error);
    }
  }
  if (const auto port = Variable(kArtnetPortVariable); !port.empty()) {
    if (!ReadPort(port, options.UdpPort)) {
      return Fail(kArtnetPortVariable, port, "a port 0 ... 65535 is needed", error);
    }
  }
  if (const auto dest = Variable(kArtnetDestVariable); !dest.empty()) {
    const size_t colon = dest.find(':');
    std::string ip;
    uint16_t port = 0;
    const bool valid =
        ReadAddress(dest.substr(0, colon), ip) &&
        (colon == std::string_view::npos || (ReadPort(dest.substr(colon + 1), port) && port != 0));
    if (!valid) return Fail(kArtnetDestVariable, dest, "IP or IP:PORT is needed", error);
    options.DestIp = ip;
    options.DestPort = port;
  }
  return true;
}

bool ArtnetBindFromEnvironment() { return !Variable(kArtnetBindVariable).empty(); }

bool ArtnetDestFromEnvironment() { return !Variable(kArtnetDestVariable).empty(); }

ArtnetOptions WithNetworkChoices(ArtnetOptions options, bool bindFixed, bool destFixed,
                                 std::string_view bind, std::string_view dest,
                                 const std::vector<NetInterface>& interfaces) {
  uint32_t address = 0;
  // A network chosen by one of its addresses is heard whole, its broadcasts included.
  if (!bindFixed && ParseIpv4(bind, address)) {
    options.BindIp = std::string(bind);
    options.ListenBroadcasts = address != 0;
  }
  if (destFixed) return options;
  if (ParseIpv4(dest, address)) {
    options.DestIp = std::string(dest);
  } else if (dest == kArtNetDestSubnet) {
    uint32_t listening = 0;
    if (!ParseIpv4(options.BindIp, listening) || listening == 0) {
      listening = ChooseOwnAddress(interfaces).Address;
    }
    if (const uint32_t broadcast = NetworkBroadcast(interfaces, listening); broadcast != 0) {
      options.DestIp = Ipv4Text(broadcast);
    }
  }
  return options;
}

}  // namespace lumaplot

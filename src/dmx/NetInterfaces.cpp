#include "dmx/NetInterfaces.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace lumaplot {
namespace {

constexpr uint32_t kLoopback = 0x7F000001;

uint32_t HostOrder(const sockaddr* address) {
  return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

}  // namespace

bool ReadNetInterfaces(std::vector<NetInterface>& interfaces, std::string* error) {
  interfaces.clear();
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) {
    if (error) *error = std::string("cannot read the network interfaces: ") + std::strerror(errno);
    return false;
  }
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & IFF_UP) == 0) continue;
    NetInterface item;
    item.Name = entry->ifa_name ? entry->ifa_name : "";
    item.Address = HostOrder(entry->ifa_addr);
    item.Netmask = entry->ifa_netmask ? HostOrder(entry->ifa_netmask) : 0xFFFFFFFF;
    interfaces.push_back(std::move(item));
  }
  ::freeifaddrs(list);
  return true;
}

OwnAddressChoice ChooseOwnAddress(const std::vector<NetInterface>& interfaces) {
  for (const auto& item : interfaces) {
    if ((item.Address >> 24) == 2) return {item.Address, true};
  }
  for (const auto& item : interfaces) {
    if (item.Address != kLoopback) return {item.Address, false};
  }
  return {kLoopback, false};
}

bool IsOnHostNetwork(const std::vector<NetInterface>& interfaces, uint32_t address) {
  for (const auto& item : interfaces) {
    if (item.Netmask == 0) continue;
    if ((address & item.Netmask) == (item.Address & item.Netmask)) return true;
  }
  return false;
}

uint32_t NetworkBroadcast(const std::vector<NetInterface>& interfaces, uint32_t address) {
  for (const auto& item : interfaces) {
    if (item.Address == address && item.Netmask != 0) return item.Address | ~item.Netmask;
  }
  return 0;
}

std::string Ipv4Text(uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
         std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

bool ParseIpv4(std::string_view text, uint32_t& address) {
  uint32_t result = 0;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (at == end || *at != '.') return false;
      ++at;
    }
    if (at == end || *at < '0' || *at > '9') return false;
    unsigned value = 0;
    const auto [next, problem] = std::from_chars(at, end, value);
    if (problem != std::errc() || value > 255 || next - at > 3) return false;
    result = (result << 8) | value;
    at = next;
  }
  if (at != end) return false;
  address = result;
  return true;
}

}  // namespace lumaplot

#pragma once
// The host's IPv4 interfaces, and the two decisions the Art-Net engine takes from
// them: which address it calls its own, and whether a destination address lies on
// one of the host's networks. A directed broadcast such as 2.255.255.255 is only a
// broadcast on a host that has an interface in that network; elsewhere the system
// routes it to the default gateway, towards the outside world. So the engine sends
// to a broadcast destination only when IsOnHostNetwork() says so.
// Addresses are host byte order (2.0.0.1 is 0x02000001). Any thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

struct NetInterface {
  std::string Name;
  uint32_t Address = 0;
  uint32_t Netmask = 0;
};

// The IPv4 addresses of every interface that is up, in the system's order
// (getifaddrs). False with the reason when the table cannot be read.
bool ReadNetInterfaces(std::vector<NetInterface>& interfaces, std::string* error = nullptr);

struct OwnAddressChoice {
  uint32_t Address = 0;
  bool OnArtnetNetwork = false;  // the address is a 2.x.x.x address
};

// The first 2.x.x.x address; else the first address that is not 127.0.0.1; else
// 127.0.0.1 (also for an empty table).
OwnAddressChoice ChooseOwnAddress(const std::vector<NetInterface>& interfaces);

// True when `address` lies in the network (address AND netmask) of one of the
// interfaces. An interface with an empty netmask (0.0.0.0) is taken to contain
// nothing, so that it cannot make the whole address space look local.
bool IsOnHostNetwork(const std::vector<NetInterface>& interfaces, uint32_t address);

// The directed broadcast address (address OR NOT netmask) of the network of the
// interface that has `address`; 0 when no interface has it or its netmask is empty.
uint32_t NetworkBroadcast(const std::vector<NetInterface>& interfaces, uint32_t address);

// Dotted quad of a host-order address: "2.0.0.10".
std::string Ipv4Text(uint32_t address);

// Reads a dotted quad of four decimal numbers 0 ... 255; false on anything else.
bool ParseIpv4(std::string_view text, uint32_t& address);

}  // namespace lumaplot

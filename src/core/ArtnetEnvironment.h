#pragma once
// Where the program's Art-Net engine listens and sends, from the environment:
//   LUMAPLOT_ARTNET_BIND  IPv4 address to listen on (default 0.0.0.0, every interface)
//   LUMAPLOT_ARTNET_PORT  UDP port to listen on, 0 ... 65535 (default 6454; 0: any free)
//   LUMAPLOT_ARTNET_DEST  IP or IP:PORT that polls and replies go to (default
//                         2.255.255.255, or 192.168.11.255 with DebugMode; the port
//                         defaults to the listening port)
// Tests and trials use them to keep the program on loopback. Unset or empty
// variables keep the defaults. Reads the environment: call at start-up.
#include <string>
#include <string_view>
#include <vector>

#include "dmx/ArtnetThread.h"
#include "dmx/NetInterfaces.h"

namespace lumaplot {

inline constexpr char kArtnetBindVariable[] = "LUMAPLOT_ARTNET_BIND";
inline constexpr char kArtnetPortVariable[] = "LUMAPLOT_ARTNET_PORT";
inline constexpr char kArtnetDestVariable[] = "LUMAPLOT_ARTNET_DEST";

// Fills the bind address, port and destination of `options`. False, with the
// variable and its value in `error`, when a value is not valid; `options` then keeps
// what was read before it.
bool ReadArtnetEnvironment(ArtnetOptions& options, std::string* error = nullptr);

// Whether the environment gives the listening address (LUMAPLOT_ARTNET_BIND) or the
// destination (LUMAPLOT_ARTNET_DEST); what it gives wins over the settings.
bool ArtnetBindFromEnvironment();
bool ArtnetDestFromEnvironment();

// The settings' destination that means the broadcast of the network listened on.
inline constexpr char kArtNetDestSubnet[] = "Subnet";

// `options` with the network choices of the settings (TEnvData::ArtNetBind and
// ArtNetDest) where `bindFixed` and `destFixed` do not say the process fixed them:
// - bind: an IPv4 address becomes BindIp, and the broadcasts of its network are
//   listened to as well (ListenBroadcasts); empty or anything else keeps BindIp;
// - dest: an IPv4 address becomes DestIp; kArtNetDestSubnet becomes the broadcast
//   address of the network of the listening address (with every interface listened
//   on, the address ChooseOwnAddress takes), found in `interfaces`; empty, a network
//   that is not found or anything else keeps DestIp (empty: the engine's default).
// DestPort and the rest are kept. Pure function.
ArtnetOptions WithNetworkChoices(ArtnetOptions options, bool bindFixed, bool destFixed,
                                 std::string_view bind, std::string_view dest,
                                 const std::vector<NetInterface>& interfaces);

}  // namespace lumaplot

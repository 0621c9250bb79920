#include "dmx/ArtnetThread.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>

#include "dmx/PortAddress.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

constexpr char kStartupNodeName[] = "Nuv_Application";
constexpr char kNodeReportOk[] = "OK";
// Enough to empty a full queue of ArtDmx in a few passes while the cycle still
// runs on time during a flood.
constexpr int kMaxDatagramsPerPass = 1024;

std::array<uint8_t, 4> NetworkOrderBytes(uint32_t address) {
  return {static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16),
          static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
}

// Groups the enabled ports as the ArtPollReply lists them: up to four ports with
// the same Net and Sub-Net per reply, in port order; a repeated address once.
std::vector<ReplyPortGroup> GroupPorts(const std::vector<int>& addresses,
                                       const std::vector<bool>& receiving) {
  std::vector<ReplyPortGroup> groups;
  std::vector<int> listed;
  for (size_t i = 0; i < addresses.size(); ++i) {
    const int address = addresses[i];
    if (std::find(listed.begin(), listed.end(), address) != listed.end()) continue;
    listed.push_back(address);
    auto group = std::find_if(groups.begin(), groups.end(), [&](const ReplyPortGroup& g) {
      return g.NetSwitch == PortNet(address) && g.SubSwitch == PortSubNet(address) &&
             g.NumPorts < 4;
    });
    if (group == groups.end()) {
      ReplyPortGroup added;
      added.NetSwitch = static_cast<uint8_t>(PortNet(address));
      added.SubSwitch = static_cast<uint8_t>(PortSubNet(address));
      added.BindIndex = static_cast<uint8_t>(groups.size() + 1);
      groups.push_back(added);
      group = groups.end() - 1;
    }
    group->Universe[group->NumPorts] = static_cast<uint8_t>(PortUniverse(address));
    group->Receiving[group->NumPorts] = receiving[i];
    ++group->NumPorts;
  }
  if (groups.empty()) groups.emplace_back();  // a reply without ports still announces us
  return groups;
}

}  // namespace

TArtnetThread::TArtnetThread(bool createSuspended, int inCount, int outCount, bool altNetwork,
                             ArtnetOptions options)
    : inCount_(std::clamp(inCount, 0, kMaxPorts)),
      outCount_(std::clamp(outCount, 0, kMaxPorts)),
      altNetwork_(altNetwork),
      clock_(options.TickClock ? *options.TickClock : SystemClock()),
      readInterfaces_(options.ReadInterfaces ? options.ReadInterfaces
                                             : [](std::vector<NetInterface>& list) {
                                                 return ReadNetInterfaces(list);
                                               }) {
  for (int i = 0; i < kMaxPorts; ++i) {
    InAddr[i] = 32 + i;
    InEnabled[i] = false;
    OutAddr[i] = i;
    received_[i] = 0;
  }
  // Room for every node with two binds, so discovery seldom allocates.
  nodes_.reserve(2 * kMaxNodes);
  readInterfaces_(hostInterfaces_);
  ChooseOwnAddress(options.BindIp);
  pollPacket_ = BuildArtPoll();
  ownReply_ = BuildArtPollReply(ownIp_, kStartupNodeName, kStartupNodeName, kNodeReportOk);
  OpenSocket(options);
  cycleBase_ = pollBase_ = clock_.NowMs();
  if (!createSuspended) Start();
}

TArtnetThread::~TArtnetThread() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

void TArtnetThread::ChooseOwnAddress(const std::string& bindIp) {
  uint32_t bound = 0;
  OwnAddressChoice choice;
  // An engine bound to one address answers for that address.
  if (ParseIpv4(bindIp, bound) && bound != 0) {
    choice = {bound, (bound >> 24) == 2};
  } else {
    choice = lumaplot::ChooseOwnAddress(hostInterfaces_);
  }
  ownIp_ = NetworkOrderBytes(choice.Address);
  ownIpText_ = Ipv4Text(choice.Address);
  if (!choice.OnArtnetNetwork && !altNetwork_) Message = kNoArtnetAddressMessage;
}

void TArtnetThread::OpenSocket(const ArtnetOptions& options) {
  uint32_t bindAddress = 0;
  if (!ParseIpv4(options.BindIp, bindAddress)) {
    socketError_ = "not an IPv4 address: " + options.BindIp;
    return;
  }
  if (!socket_.Create(options.ReceiveBufferBytes, &socketError_)) {
    Message = kSocketInitFailedMessage;
    return;
  }
  // A failed bind (the port is taken) leaves the engine not Ready without a
  // message for the user; SocketError tells why.
  if (!socket_.Bind({bindAddress, options.UdpPort}, &socketError_)) {
    socket_.Close();
    return;
  }
  ready_ = true;
  if (options.ListenBroadcasts && bindAddress != 0) {
    const uint32_t broadcast = NetworkBroadcast(hostInterfaces_, bindAddress);
    // Without it the engine still works for unicast; the reason is kept for the curious.
    std::string ignored;
    if (broadcast != 0 && broadcast != bindAddress) {
      broadcastSocket_.Open({broadcast, socket_.LocalEndpoint().Port}, options.ReceiveBufferBytes,
                            &ignored);
    }
  }
  const std::string destIp = !options.DestIp.empty()
                                 ? options.DestIp
                                 : (altNetwork_ ? kAltNetworkBroadcast : kArtnetBroadcast);
  uint32_t dest = 0;
  if (!ParseIpv4(destIp, dest)) {
    socketError_ = "not an IPv4 address: " + destIp;
    return;
  }
  destAddr_ = {dest, options.DestPort != 0 ? options.DestPort : socket_.LocalEndpoint().Port};
  destOnHostNetwork_ = dest != 0 && IsOnHostNetwork(hostInterfaces_, dest);
}

void TArtnetThread::SetNodeNames(std::string_view shortName, std::string_view longName) {
  const std::string shortBytes = Utf8ToCp932(shortName);
  const std::string longBytes = Utf8ToCp932(longName);
  std::lock_guard lock(replyLock_);
  WriteReplyNames(ownReply_, shortBytes, longBytes);
}

void TArtnetThread::Start() {
  if (thread_.joinable()) return;
  thread_ = std::thread([this] { Execute(); });
}

void TArtnetThread::Terminate() { terminated_ = true; }

void TArtnetThread::Wait() {
  if (thread_.joinable()) thread_.join();
}

void TArtnetThread::SendPoll() {
  if (ready_) SendToDest(pollPacket_, Count<&ArtnetCounters::PollsSent>());
}

std::string NodeListLine(const TArtNode& node) {
  char address[32];
  std::snprintf(address, sizeof address, "%3u.%3u.%3u.%3u : ", node.IpAddress[0], node.IpAddress[1],
                node.IpAddress[2], node.IpAddress[3]);
  const std::string shortName = FieldText(node.ShortName);
  const std::string name = shortName.empty() ? FieldText(node.LongName) : shortName;
  return std::string(node.Matches ? "*" : " ") + address + Cp932ToUtf8(name);
}

void TArtnetThread::ListNodes(std::vector<std::string>& list) {
  list.clear();
  for (const TArtNode& node : Nodes()) list.push_back(NodeListLine(node));
  NodesChanged = false;
}

std::vector<TArtNode> TArtnetThread::Nodes() const {
  std::lock_guard lock(nodesLock_);
  return nodes_;
}

int TArtnetThread::NodeCount() const {
  std::lock_guard lock(nodesLock_);
  return static_cast<int>(nodes_.size());
}

int TArtnetThread::NodeAddressCount() const {
  std::lock_guard lock(nodesLock_);
  return nodeAddresses_;
}

void TArtnetThread::ClearNodes() {
  std::lock_guard lock(nodesLock_);
  nodes_.clear();
  nodeAddresses_ = 0;
}

void TArtnetThread::RematchNodes() {
  std::array<int, kMaxPorts> inAddresses{};
  std::array<int, kMaxPorts> outAddresses{};
  for (int i = 0; i < inCount_; ++i) inAddresses[i] = InAddr[i];
  for (int i = 0; i < outCount_; ++i) outAddresses[i] = OutAddr[i];
  std::lock_guard lock(nodesLock_);
  for (TArtNode& node : nodes_) {
    const bool matches = NodeMatches(node, std::span(inAddresses.data(), inCount_),
                                     std::span(outAddresses.data(), outCount_));
    if (matches == node.Matches) continue;
    node.Matches = matches;
    NodesChanged = true;
  }
}

int TArtnetThread::Received(int port) const {
  return port >= 0 && port < kMaxPorts ? received_[port].load() : 0;
}

ArtnetCounters TArtnetThread::Counters() const {
  ArtnetCounters c;
  for (size_t i = 0; i < kArtnetCounterFields.size(); ++i) {
    c.*kArtnetCounterFields[i].Member = counters_[i].Get();
  }
  return c;
}

void TArtnetThread::Execute() {
  cycleBase_ = pollBase_ = clock_.NowMs();
  while (!terminated_) WaitUpTo(RunPass());
}

// Sleeping in poll() wakes the loop for every datagram, so none waits in the
// queue for a sleep to end; the time-out is the next cycle or poll.
void TArtnetThread::WaitUpTo(uint64_t ms) {
  const int timeout = static_cast<int>(std::min<uint64_t>(ms, kPollIntervalMs));
  if (timeout <= 0) return;
  if (ready_) {
    pollfd entries[2] = {{socket_.Fd(), POLLIN, 0}, {broadcastSocket_.Fd(), POLLIN, 0}};
    ::poll(entries, broadcastSocket_.IsOpen() ? 2 : 1, timeout);
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
  }
}

uint64_t TArtnetThread::RunPass() {
  int opCode = 0;
  for (int n = 0; n < kMaxDatagramsPerPass && ReadAndHandle(opCode); ++n) {
  }
  const uint64_t now = clock_.NowMs();
  const uint64_t cycleMs = static_cast<uint64_t>(EffectiveCycleMs());
  if (now - cycleBase_ >= cycleMs) {
    RunCycle();
    // Keep the cadence; after a stall start afresh rather than run cycles in a row.
    cycleBase_ += cycleMs;
    if (now - cycleBase_ >= cycleMs) cycleBase_ = now;
  }
  if (now - pollBase_ >= kPollIntervalMs) {
    RefreshHostNetworks();
    SendPoll();
    pollBase_ = now;
  }
  return std::min(cycleBase_ + cycleMs - now, pollBase_ + kPollIntervalMs - now);
}

int TArtnetThread::ReceiveOne() {
  int opCode = 0;
  ReadAndHandle(opCode);
  return opCode;
}

bool TArtnetThread::ReadAndHandle(int& opCode) {
  opCode = 0;
  if (!ready_) return false;
  UdpEndpoint from;
  long size = socket_.Receive(rxBuffer_, from);
  if (size < 0 && broadcastSocket_.IsOpen()) size = broadcastSocket_.Receive(rxBuffer_, from);
  if (size < 0) return false;
  Count<&ArtnetCounters::Datagrams>().Add();
  opCode = HandleDatagram(ByteSpan(rxBuffer_.data(), static_cast<size_t>(size)), from);
  return true;
}

int TArtnetThread::HandleDatagram(ByteSpan datagram, UdpEndpoint from) {
  switch (ArtnetOpCode(datagram)) {
    case 0:
      Count<&ArtnetCounters::Dropped>().Add();
      return 0;
    case kOpDmx:
      return HandleDmx(datagram);
    case kOpPollReply:
      return HandlePollReply(datagram);
    case kOpPoll:
      return HandlePoll(from);
    default:
      Count<&ArtnetCounters::OtherOpCodes>().Add();
      return 0;
  }
}

int TArtnetThread::HandleDmx(ByteSpan datagram) {
  ArtDmxData dmx;
  if (!ParseArtDmx(datagram, dmx)) {
    Count<&ArtnetCounters::Dropped>().Add();
    return 0;
  }
  for (int i = 0; i < inCount_; ++i) {
    if (!InEnabled[i] || !DmxIsFor(InAddr[i], dmx.Net, dmx.SubUni)) continue;
    // Only the levels that arrived are copied; channels past them keep theirs.
    if (!TestMode) {
      std::copy(dmx.Levels.begin(), dmx.Levels.end(), dmxLevels_.begin() + i * kDmxChannels);
    }
    RefreshPort(i);
    Count<&ArtnetCounters::DmxAccepted>().Add();
    return kOpDmx;
  }
  Count<&ArtnetCounters::DmxNoPort>().Add();
  return kOpDmx;
}

int TArtnetThread::HandlePollReply(ByteSpan datagram) {
  ArtPollReplyData reply;
  ParseArtPollReply(datagram, reply);
  if (IsOwnShortName(reply.Node.ShortName)) {
    Count<&ArtnetCounters::OwnReplies>().Add();
    return kOpPollReply;
  }
  Count<&ArtnetCounters::RepliesReceived>().Add();
  // A node that reports data on an input carrying one of our ports shows that the
  // port's universe is alive, even when its ArtDmx does not reach us.
  for (int i = 0; i < inCount_; ++i) {
    if (!InEnabled[i]) continue;
    const int k = NodeInputFor(reply.Node, InAddr[i]);
    if (k >= 0 && (reply.GoodInput[k] & 0x80) != 0) RefreshPort(i);
  }
  AddNode(reply.Node);
  return kOpPollReply;
}

// Today's controllers send ArtDmx only to nodes that list the universe as an
// output and answer polls by unicast, so the reply lists our enabled input ports
// as outputs of the network and also goes straight back to whoever polled.
int TArtnetThread::HandlePoll(UdpEndpoint from) {
  Count<&ArtnetCounters::PollsReceived>().Add();
  std::vector<int> addresses;
  std::vector<bool> receiving;
  for (int i = 0; i < inCount_; ++i) {
    if (!InEnabled[i]) continue;
    addresses.push_back(InAddr[i]);
    receiving.push_back(received_[i] != 0);
  }
  ArtPollReplyPacket base;
  {
    std::lock_guard lock(replyLock_);
    base = ownReply_;
  }
  const bool answerSender = from.Port != 0 && !IsOwnSocket(from) && !(from == destAddr_);
  for (const ReplyPortGroup& group : GroupPorts(addresses, receiving)) {
    ArtPollReplyPacket reply = base;
    WriteReplyPorts(reply, group, ownIp_);
    SendToDest(reply, Count<&ArtnetCounters::RepliesSent>());
    if (answerSender) SendTo(reply, from, Count<&ArtnetCounters::RepliesSent>());
  }
  return kOpPoll;
}

void TArtnetThread::RunCycle() {
  Count<&ArtnetCounters::Cycles>().Add();
  const int inLevels = inCount_ * kDmxChannels;
  if (ready_) {
    if (!TestMode) {
      for (int i = 0; i < inCount_; ++i) {
        if (portTimeout_[i] > 0 && --portTimeout_[i] == 0) {
          ClearLevels(i);
          received_[i] = 0;
        }
      }
    }
  } else {
    ClearInputLevels();
  }
  if (TestMode) {
    if (OnTestFrame) {
      OnTestFrame(dmxLevels_);
    } else {
      ClearInputLevels();
    }
  }
  if (ClearRequest.exchange(false)) std::fill_n(dmxLevels_.begin(), inLevels, uint8_t{0});
  if (OnFrame) OnFrame(dmxLevels_);
}

void TArtnetThread::ClearLevels(int port) {
  std::fill_n(dmxLevels_.begin() + port * kDmxChannels, kDmxChannels, uint8_t{0});
}

void TArtnetThread::ClearInputLevels() {
  std::fill_n(dmxLevels_.begin(), inCount_ * kDmxChannels, uint8_t{0});
}

void TArtnetThread::RefreshPort(int port) {
  portTimeout_[port] = (1000 / EffectiveCycleMs()) * kTimeoutSeconds;
  received_[port] = 1;
}

int TArtnetThread::EffectiveCycleMs() const { return std::clamp(CycleMs.load(), 1, 1000); }

bool TArtnetThread::IsOwnSocket(UdpEndpoint from) const {
  const UdpEndpoint local = socket_.LocalEndpoint();
  if (from.Port != local.Port) return false;
  if (from.Address == local.Address) return true;
  return std::any_of(hostInterfaces_.begin(), hostInterfaces_.end(),
                     [&](const NetInterface& item) { return item.Address == from.Address; });
}

bool TArtnetThread::IsOwnShortName(const std::array<char, 18>& shortName) const {
  std::lock_guard lock(replyLock_);
  return FieldText(shortName) == ReplyShortName(ownReply_);
}

void TArtnetThread::AddNode(const TArtNode& node) {
  std::array<int, kMaxPorts> inAddresses{};
  std::array<int, kMaxPorts> outAddresses{};
  for (int i = 0; i < inCount_; ++i) inAddresses[i] = InAddr[i];
  for (int i = 0; i < outCount_; ++i) outAddresses[i] = OutAddr[i];
  TArtNode added = node;
  added.Matches = NodeMatches(node, std::span(inAddresses.data(), inCount_),
                              std::span(outAddresses.data(), outCount_));
  added.LastReplyMs = clock_.NowMs();
  std::lock_guard lock(nodesLock_);
  // The binds of one address stay together, in BindIndex order; a bind already
  // held keeps its first entry.
  const auto sameAddress = [&](const TArtNode& n) { return n.IpAddress == node.IpAddress; };
  const auto first = std::find_if(nodes_.begin(), nodes_.end(), sameAddress);
  if (first == nodes_.end()) {
    if (nodeAddresses_ == kMaxNodes) return;
    ++nodeAddresses_;
    nodes_.push_back(added);
    NodesChanged = true;
    return;
  }
  const auto end = std::find_if_not(first, nodes_.end(), sameAddress);
  const auto place =
      std::find_if(first, end, [&](const TArtNode& n) { return BindOf(n) >= BindOf(node); });
  if (place != end && BindOf(*place) == BindOf(node)) {
    // The entry keeps what it first said; the reply only shows the node still answers.
    place->LastReplyMs = added.LastReplyMs;
    return;
  }
  nodes_.insert(place, added);
  NodesChanged = true;
}

// Interfaces come and go (a cable, DHCP), so whether the broadcast destination is
// on one of the host's networks is checked again before every poll.
void TArtnetThread::RefreshHostNetworks() {
  std::vector<NetInterface> interfaces;
  if (readInterfaces_(interfaces)) {
    hostInterfaces_ = std::move(interfaces);
    destOnHostNetwork_ =
        destAddr_.Address != 0 && IsOnHostNetwork(hostInterfaces_, destAddr_.Address);
  } else {
    destOnHostNetwork_ = false;
  }
}

void TArtnetThread::SendToDest(ByteSpan bytes, Counter& sent) {
  if (!destOnHostNetwork_) {
    Count<&ArtnetCounters::SendsWithheld>().Add();
    return;
  }
  SendTo(bytes, destAddr_, sent);
}

void TArtnetThread::SendTo(ByteSpan bytes, UdpEndpoint to, Counter& sent) {
  if (socket_.SendTo(bytes, to)) {
    sent.Add();
  } else {
    Count<&ArtnetCounters::SendErrors>().Add();
  }
}

}  // namespace lumaplot

#pragma once
// TArtnetThread, the Art-Net engine. It receives ArtDmx on up to 32 input ports
// into its level table DmxLevels (512 levels per port), runs a cycle every CycleMs
// milliseconds that times out silent ports and hands the table to OnFrame, polls
// for nodes every 2 seconds, keeps a table of the nodes that answered (up to 15
// node addresses, every bind of each), and answers ArtPolls with its own
// ArtPollReply. It sends no DMX.
//
// Ownership: the creator owns the engine; destroying it ends the thread (within
// one cycle) and closes the socket.
// Threads: the engine thread runs the loop, every datagram, the cycle, OnFrame and
// OnTestFrame. Any other thread may use the public atomic fields, SendPoll,
// SetNodeNames, ListNodes, Nodes, NodeCount, ClearNodes and the read-only
// accessors. OnFrame and OnTestFrame are installed before Start. Tests that never
// call Start may drive the loop themselves with RunPass from one thread.
// Bad input: short, foreign or malformed datagrams are dropped and counted; no
// datagram is read past its end.
// Network: the bind address, the port and the destination come from ArtnetOptions.
// The engine sends to its broadcast destination only while that address lies on
// one of the host's networks; otherwise it withholds the datagram and counts it.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "dmx/ArtNode.h"
#include "dmx/ArtnetPackets.h"
#include "dmx/Clock.h"
#include "dmx/NetInterfaces.h"
#include "dmx/UdpSocket.h"

namespace lumaplot {

inline constexpr char kNoArtnetAddressMessage[] =
    "Art-Net 用のIPアドレス(2.x.x.x)に設定されていません。";
inline constexpr char kSocketInitFailedMessage[] = "ソケットの初期化に失敗しました";
inline constexpr char kArtnetBroadcast[] = "2.255.255.255";
inline constexpr char kAltNetworkBroadcast[] = "192.168.11.255";

// Where the engine listens and sends, and what it takes time and interfaces from.
// The defaults are the program's; tests use 127.0.0.1 and port 0.
struct ArtnetOptions {
  std::string BindIp = "0.0.0.0";
  uint16_t UdpPort = kArtnetPort;  // 0: a free port chosen by the system
  std::string DestIp;              // empty: kArtnetBroadcast, or kAltNetworkBroadcast
  uint16_t DestPort = 0;           // 0: the engine's own port
  int ReceiveBufferBytes = 4 << 20;
  // With BindIp one address of the host: also take the broadcasts of that address's
  // network, which a socket bound to one address never sees (a second socket bound
  // to the network's broadcast address at the same port).
  bool ListenBroadcasts = false;
  Clock* TickClock = nullptr;  // null: SystemClock(); must outlive the engine
  // Reads the host's interfaces; null: ReadNetInterfaces.
  std::function<bool(std::vector<NetInterface>&)> ReadInterfaces;
};

// What the engine has seen and done since it was created. Every field is listed,
// with its name, in kArtnetCounterFields.
struct ArtnetCounters {
  uint64_t Datagrams = 0;    // read from the socket
  uint64_t DmxAccepted = 0;  // ArtDmx taken by an input port
  uint64_t DmxNoPort = 0;    // ArtDmx for none of the enabled input ports
  uint64_t PollsReceived = 0;
  uint64_t RepliesReceived = 0;  // ArtPollReply of other nodes
  uint64_t OwnReplies = 0;       // ArtPollReply with our own short name
  uint64_t Dropped = 0;          // short or foreign datagrams, ArtDmx without its header
  uint64_t OtherOpCodes = 0;     // Art-Net datagrams the engine does not use
  uint64_t PollsSent = 0;
  uint64_t RepliesSent = 0;
  uint64_t SendsWithheld = 0;  // destination on none of the host's networks
  uint64_t SendErrors = 0;
  uint64_t Cycles = 0;
};

// The one list of the engine's counters: the engine counts through it and whatever
// shows or compares the counters walks it, so a new counter is one line here.
struct ArtnetCounterField {
  const char* Name;
  uint64_t ArtnetCounters::*Member;
};
inline constexpr std::array kArtnetCounterFields = {
    ArtnetCounterField{"Datagrams", &ArtnetCounters::Datagrams},
    ArtnetCounterField{"DmxAccepted", &ArtnetCounters::DmxAccepted},
    ArtnetCounterField{"DmxNoPort", &ArtnetCounters::DmxNoPort},
    ArtnetCounterField{"PollsReceived", &ArtnetCounters::PollsReceived},
    ArtnetCounterField{"RepliesReceived", &ArtnetCounters::RepliesReceived},
    ArtnetCounterField{"OwnReplies", &ArtnetCounters::OwnReplies},
    ArtnetCounterField{"Dropped", &ArtnetCounters::Dropped},
    ArtnetCounterField{"OtherOpCodes", &ArtnetCounters::OtherOpCodes},
    ArtnetCounterField{"PollsSent", &ArtnetCounters::PollsSent},
    ArtnetCounterField{"RepliesSent", &ArtnetCounters::RepliesSent},
    ArtnetCounterField{"SendsWithheld", &ArtnetCounters::SendsWithheld},
    ArtnetCounterField{"SendErrors", &ArtnetCounters::SendErrors},
    ArtnetCounterField{"Cycles", &ArtnetCounters::Cycles},
};
static_assert(sizeof(ArtnetCounters) == kArtnetCounterFields.size() * sizeof(uint64_t),
              "every counter of ArtnetCounters is listed in kArtnetCounterFields");

// The place of `member` in kArtnetCounterFields (its size when it is not listed).
constexpr size_t ArtnetCounterIndex(uint64_t ArtnetCounters::*member) {
  for (size_t i = 0; i < kArtnetCounterFields.size(); ++i) {
    if (kArtnetCounterFields[i].Member == member) return i;
  }
  return kArtnetCounterFields.size();
}

// A node that has not answered for this long (three polls) has stopped answering.
inline constexpr uint64_t kNodeSilentMs = 6000;

// The line of the node list for one entry of the node table: "*" when it matches,
// else " ", then "%3u.%3u.%3u.%3u : " and the short name (the long name when it is
// empty), converted to UTF-8.
std::string NodeListLine(const TArtNode& node);

// Whether a node recorded at LastReplyMs still answers at `nowMs` (same clock).
inline bool NodeAnswering(const TArtNode& node, uint64_t nowMs) {
  return nowMs < node.LastReplyMs || nowMs - node.LastReplyMs < kNodeSilentMs;
}

class TArtnetThread {
 public:
  static constexpr int kMaxPorts = 32;
  // Node addresses kept in the node table; each may have up to kMaxBindsPerNode
  // entries, one per bind.
  static constexpr int kMaxNodes = 15;
  static constexpr int kMaxBindsPerNode = 255;
  static constexpr int kPollIntervalMs = 2000;
  static constexpr int kTimeoutSeconds = 6;
  using LevelTable = std::array<uint8_t, kMaxPorts * kDmxChannels>;
  using FrameCallback = std::function<void(LevelTable& levels)>;

  // Runs the start-up: chooses the own address, builds the datagrams, opens and
  // binds the socket (Ready tells whether that worked; Message and SocketError
  // say why not). `inCount` and `outCount` are clamped to 0 ... 32. Unless
  // `createSuspended`, the thread starts at once.
  TArtnetThread(bool createSuspended, int inCount, int outCount, bool altNetwork,
                ArtnetOptions options = {});
  ~TArtnetThread();
  TArtnetThread(const TArtnetThread&) = delete;
  TArtnetThread& operator=(const TArtnetThread&) = delete;

  // UTF-8 names, converted to code page 932 and cut to 17 and 63 bytes.
  void SetNodeNames(std::string_view shortName, std::string_view longName);
  // Starts the engine thread; a second call does nothing.
  void Start();
  // Asks the loop to end; it does so within one cycle. The destructor waits for it.
  void Terminate();
  // Waits until the thread has ended (after Terminate); at once when not running.
  void Wait();
  // Sends an ArtPoll to the destination now, when Ready.
  void SendPoll();
  // One UTF-8 line per entry of the node table, in table order: "*" when it
  // matches, else " ", then "%3u.%3u.%3u.%3u : " and the short name (the long name
  // when it is empty). Clears NodesChanged.
  void ListNodes(std::vector<std::string>& list);
  // The node table: one entry per node address and bind (see TArtNode), the
  // addresses in the order they first answered, the binds of one address together
  // in BindIndex order. A later reply of the same bind only renews the entry's
  // LastReplyMs; a new address is not taken while kMaxNodes addresses are held.
  std::vector<TArtNode> Nodes() const;
  // The entries of the node table (binds counted one by one).
  int NodeCount() const;
  // The node addresses in the node table, at most kMaxNodes.
  int NodeAddressCount() const;
  // Empties the node table (before a new scan).
  void ClearNodes();
  // Compares every entry of the node table again with InAddr and OutAddr (after
  // they changed); sets NodesChanged when a mark changed.
  void RematchNodes();
  // The engine's clock, which LastReplyMs of the node table is read on.
  uint64_t NowMs() const { return clock_.NowMs(); }
  // Started and not yet told to end. GUI thread.
  bool Running() const { return thread_.joinable() && !terminated_; }

  // Reads one waiting datagram and handles it; returns the OpCode handled, or 0
  // when nothing was waiting or the datagram was dropped. Engine thread.
  int ReceiveOne();
  // One pass of the work loop without waiting: every waiting datagram, then the
  // cycle and the poll when due. Returns the milliseconds until the next due
  // moment. Engine thread (or a test that never calls Start).
  uint64_t RunPass();

  bool Ready() const { return ready_; }
  int InCount() const { return inCount_; }
  int OutCount() const { return outCount_; }
  bool AltNetwork() const { return altNetwork_; }
  // Non-zero while input port `port` receives; 0 outside 0 ... 31.
  int Received(int port) const;
  std::array<uint8_t, 4> OwnIp() const { return ownIp_; }
  const std::string& OwnIpText() const { return ownIpText_; }
  UdpEndpoint LocalEndpoint() const { return socket_.LocalEndpoint(); }
  // Where the broadcasts of the bound address's network are taken (ListenBroadcasts);
  // Address 0 when they are not.
  UdpEndpoint BroadcastEndpoint() const { return broadcastSocket_.LocalEndpoint(); }
  UdpEndpoint DestAddr() const { return destAddr_; }
  // The destination lies on one of the host's networks (checked at start-up and
  // before every poll), so datagrams go there.
  bool DestOnHostNetwork() const { return destOnHostNetwork_; }
  int ReceiveBufferBytes() const { return socket_.ReceiveBufferBytes(); }
  // Why the socket could not be used; empty when Ready.
  const std::string& SocketError() const { return socketError_; }
  ArtnetCounters Counters() const;

  // Written from outside at any time.
  std::array<std::atomic<int>, kMaxPorts> InAddr;      // initially 32 + i
  std::array<std::atomic<bool>, kMaxPorts> InEnabled;  // initially false
  std::array<std::atomic<int>, kMaxPorts> OutAddr;     // initially i; node matching only
  std::atomic<int> CycleMs{20};                        // used within 1 ... 1000
  std::atomic<bool> TestMode{false};
  std::atomic<bool> ClearRequest{false};
  std::atomic<bool> NodesChanged{false};
  // Installed before Start.
  FrameCallback OnFrame;      // every cycle, with DmxLevels
  FrameCallback OnTestFrame;  // every cycle while TestMode, fills DmxLevels
  // A start-up problem for the user; the GUI thread reads and empties it.
  std::string Message;

 private:
  struct Counter {
    std::atomic<uint64_t> value{0};
    void Add() { value.fetch_add(1, std::memory_order_relaxed); }
    uint64_t Get() const { return value.load(std::memory_order_relaxed); }
  };
  // The engine's counter of `Member`, found in kArtnetCounterFields when compiled.
  template <uint64_t ArtnetCounters::*Member>
  Counter& Count() {
    constexpr size_t index = ArtnetCounterIndex(Member);
    static_assert(index < kArtnetCounterFields.size(), "a counter of kArtnetCounterFields");
    return counters_[index];
  }

  void ChooseOwnAddress(const std::string& bindIp);
  void OpenSocket(const ArtnetOptions& options);
  void Execute();
  void WaitUpTo(uint64_t ms);
  bool ReadAndHandle(int& opCode);
  int HandleDatagram(ByteSpan datagram, UdpEndpoint from);
  int HandleDmx(ByteSpan datagram);
  int HandlePollReply(ByteSpan datagram);
  int HandlePoll(UdpEndpoint from);
  void RunCycle();
  void ClearLevels(int port);
  void ClearInputLevels();
  void RefreshPort(int port);
  int EffectiveCycleMs() const;
  bool IsOwnSocket(UdpEndpoint from) const;
  bool IsOwnShortName(const std::array<char, 18>& shortName) const;
  void AddNode(const TArtNode& node);
  void RefreshHostNetworks();
  void SendToDest(ByteSpan bytes, Counter& sent);
  void SendTo(ByteSpan bytes, UdpEndpoint to, Counter& sent);

  // Fixed at start-up.
  const int inCount_;
  const int outCount_;
  const bool altNetwork_;
  Clock& clock_;
  std::function<bool(std::vector<NetInterface>&)> readInterfaces_;
  UdpSocket socket_;
  UdpSocket broadcastSocket_;  // receives only; closed unless ListenBroadcasts
  bool ready_ = false;
  std::string socketError_;
  UdpEndpoint destAddr_;
  std::array<uint8_t, 4> ownIp_{};
  std::string ownIpText_;
  ArtPollPacket pollPacket_{};

  // Engine thread only.
  std::array<uint8_t, 2048> rxBuffer_{};
  std::array<int, kMaxPorts> portTimeout_{};
  LevelTable dmxLevels_{};
  uint64_t cycleBase_ = 0;
  uint64_t pollBase_ = 0;
  std::vector<NetInterface> hostInterfaces_;

  std::atomic<bool> destOnHostNetwork_{false};
  std::array<std::atomic<int>, kMaxPorts> received_;
  std::atomic<bool> terminated_{false};
  std::thread thread_;

  mutable std::mutex replyLock_;  // guards ownReply_
  ArtPollReplyPacket ownReply_{};

  mutable std::mutex nodesLock_;  // guards nodes_ and nodeAddresses_
  std::vector<TArtNode> nodes_;
  int nodeAddresses_ = 0;

  std::array<Counter, kArtnetCounterFields.size()> counters_;
};

}  // namespace lumaplot

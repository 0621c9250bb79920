#pragma once
// A non-blocking IPv4 UDP socket (POSIX) for Art-Net: broadcast allowed
// (SO_BROADCAST), an optional large receive queue, bound to one local address and
// port. Owns its descriptor and closes it on destruction; movable, not copyable.
// Threads: one thread receives; sending from another thread at the same time is
// safe (each send is one system call). Failures return false or -1 and leave the
// socket as it was.
#include <cstdint>
#include <span>
#include <string>

namespace lumaplot {

// An IPv4 address and UDP port, both in host byte order.
struct UdpEndpoint {
  uint32_t Address = 0;
  uint16_t Port = 0;
  friend bool operator==(const UdpEndpoint&, const UdpEndpoint&) = default;
};

class UdpSocket {
 public:
  UdpSocket() = default;
  ~UdpSocket();
  UdpSocket(UdpSocket&& other) noexcept;
  UdpSocket& operator=(UdpSocket&& other) noexcept;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  // Opens the socket. `receiveBufferBytes` > 0 asks for that receive queue; the
  // system may grant less (see ReceiveBufferBytes). False with the reason.
  bool Create(int receiveBufferBytes, std::string* error = nullptr);
  // Binds the created socket to `local` (port 0 lets the system choose a free
  // port). False with the reason (for example the port is taken).
  bool Bind(UdpEndpoint local, std::string* error = nullptr);
  // Create and Bind; on failure the socket is closed.
  bool Open(UdpEndpoint local, int receiveBufferBytes, std::string* error = nullptr);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

  // The bound address and port (the real port when 0 was asked for).
  UdpEndpoint LocalEndpoint() const { return local_; }
  // The receive queue the system granted, in bytes.
  int ReceiveBufferBytes() const;

  // Reads one waiting datagram into `buffer` without blocking. Returns its size
  // (cut to the buffer), or -1 when nothing is waiting or the socket is closed.
  long Receive(std::span<uint8_t> buffer, UdpEndpoint& from);
  // Waits up to `timeoutMs` for a datagram; true when one is waiting.
  bool WaitReadable(int timeoutMs) const;
  // Sends one datagram; false when the system refused it.
  bool SendTo(std::span<const uint8_t> bytes, UdpEndpoint to);

 private:
  int fd_ = -1;
  UdpEndpoint local_;
};

}  // namespace lumaplot

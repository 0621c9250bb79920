#include "dmx/UdpSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "dmx/NetInterfaces.h"

namespace lumaplot {
namespace {

sockaddr_in ToSockaddr(UdpEndpoint endpoint) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(endpoint.Address);
  address.sin_port = htons(endpoint.Port);
  return address;
}

std::string SystemReason(const char* what, UdpEndpoint endpoint) {
  return std::string(what) + " " + Ipv4Text(endpoint.Address) + ":" +
         std::to_string(endpoint.Port) + ": " + std::strerror(errno);
}

}  // namespace

UdpSocket::~UdpSocket() { Close(); }

UdpSocket::UdpSocket(UdpSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), local_(other.local_) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    local_ = other.local_;
  }
  return *this;
}

bool UdpSocket::Create(int receiveBufferBytes, std::string* error) {
  Close();
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) {
    if (error) *error = std::string("cannot open a UDP socket: ") + std::strerror(errno);
    return false;
  }
  const int on = 1;
  // Without SO_BROADCAST the system refuses every send to a broadcast address.
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  // The default queue holds a couple of hundred datagrams; a desk that sends many
  // universes at once overflows it. The system caps the request at its limit.
  if (receiveBufferBytes > 0) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
  }
  fd_ = fd;
  local_ = {};
  return true;
}

bool UdpSocket::Bind(UdpEndpoint local, std::string* error) {
  if (fd_ < 0) {
    if (error) *error = "the socket is not open";
    return false;
  }
  const sockaddr_in address = ToSockaddr(local);
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (error) *error = SystemReason("cannot bind to", local);
    return false;
  }
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  ::getsockname(fd_, reinterpret_cast<sockaddr*>(&bound), &length);
  local_ = {ntohl(bound.sin_addr.s_addr), ntohs(bound.sin_port)};
  return true;
}

bool UdpSocket::Open(UdpEndpoint local, int receiveBufferBytes, std::string* error) {
  if (Create(receiveBufferBytes, error) && Bind(local, error)) return true;
  Close();
  return false;
}

void UdpSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int UdpSocket::ReceiveBufferBytes() const {
  int bytes = 0;
  socklen_t length = sizeof bytes;
  if (fd_ < 0 || ::getsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &bytes, &length) != 0) return 0;
  return bytes;
}

long UdpSocket::Receive(std::span<uint8_t> buffer, UdpEndpoint& from) {
  if (fd_ < 0) return -1;
  sockaddr_in sender{};
  socklen_t length = sizeof sender;
  const ssize_t size = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                  reinterpret_cast<sockaddr*>(&sender), &length);
  if (size < 0) return -1;
  from = {ntohl(sender.sin_addr.s_addr), ntohs(sender.sin_port)};
  return static_cast<long>(size);
}

bool UdpSocket::WaitReadable(int timeoutMs) const {
  if (fd_ < 0) return false;
  pollfd entry{fd_, POLLIN, 0};
  return ::poll(&entry, 1, timeoutMs) > 0 && (entry.revents & POLLIN) != 0;
}

bool UdpSocket::SendTo(std::span<const uint8_t> bytes, UdpEndpoint to) {
  if (fd_ < 0) return false;
  const sockaddr_in address = ToSockaddr(to);
  return ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                  reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == static_cast<ssize_t>(bytes.size());
}

}  // namespace lumaplot

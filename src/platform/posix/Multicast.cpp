// The multicast command socket of POSIX hosts.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/posix/PosixPlatform.h"

namespace vantrel {

namespace {

class PosixMulticastReceiver : public MulticastReceiver {
 public:
  PosixMulticastReceiver(int fd, int wakeRead, int wakeWrite, ip_mreq membership, int bufferSize)
      : fd_(fd), wakeRead_(wakeRead), wakeWrite_(wakeWrite), membership_(membership),
        buffer_(static_cast<std::size_t>(bufferSize)) {}
  ~PosixMulticastReceiver() override {
    ::close(fd_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
  }

  Wait receive(std::string& bytes, int timeoutMs) override {
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {fd_, POLLIN, 0}};
    int n = ::poll(fds, 2, timeoutMs);
    if (n < 0) return errno == EINTR ? Wait::Timeout : Wait::Failed;
    if (fds[0].revents != 0) return Wait::Interrupted;
    if (n == 0 || !(fds[1].revents & POLLIN)) return n == 0 ? Wait::Timeout : Wait::Failed;
    // MSG_TRUNC makes the kernel report the datagram's whole length, so an oversized one
    // is recognised and dropped instead of being handled cut short.
    const ssize_t got = ::recv(fd_, buffer_.data(), buffer_.size(), MSG_TRUNC | MSG_DONTWAIT);
    if (got < 0) return errno == EAGAIN || errno == EINTR ? Wait::Timeout : Wait::Failed;
    if (static_cast<std::size_t>(got) > buffer_.size()) return Wait::Discarded;
    bytes.assign(buffer_.data(), static_cast<std::size_t>(got));
    return Wait::Datagram;
  }

  void interrupt() override {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(wakeWrite_, &c, 1);
  }

  void leaveGroup() override {
    ::setsockopt(fd_, IPPROTO_IP, IP_DROP_MEMBERSHIP, &membership_, sizeof membership_);
  }

 private:
  int fd_;
  int wakeRead_;
  int wakeWrite_;
  ip_mreq membership_;
  std::vector<char> buffer_;
};

bool parseAddress(const std::string& text, in_addr& address) {
  return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

}  // namespace

std::unique_ptr<MulticastReceiver> PosixPlatform::openMulticastReceiver(const std::string& group,
                                                                        int port,
                                                                        int bufferSize) {
  in_addr groupAddress{};
  if (!parseAddress(group, groupAddress) || port < 0 || port > 65535 || bufferSize <= 0)
    return nullptr;
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) return nullptr;
  // No address reuse: a port another program holds stays its own.
  const int off = 0;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &off, sizeof off);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(static_cast<std::uint16_t>(port));
  ip_mreq membership{};
  membership.imr_multiaddr = groupAddress;
  membership.imr_interface.s_addr = htonl(INADDR_ANY);
  int wake[2] = {-1, -1};
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) != 0 ||
      ::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixMulticastReceiver>(fd, wake[0], wake[1], membership, bufferSize);
}

std::string PosixPlatform::sendMulticast(const std::string& group, int port,
                                         const std::string& bytes) {
  in_addr groupAddress{};
  if (!parseAddress(group, groupAddress)) return "'" + group + "' is not an IPv4 address";
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) return std::strerror(errno);
  const unsigned char ttl = 1;
  const unsigned char loop = 1;
  ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
  ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr = groupAddress;
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  const ssize_t sent = ::sendto(fd, bytes.data(), bytes.size(), 0,
                                reinterpret_cast<sockaddr*>(&to), sizeof to);
  std::string problem;
  if (sent < 0)
    problem = std::strerror(errno);
  else if (static_cast<std::size_t>(sent) != bytes.size())
    problem = "the datagram was sent only in part";
  ::close(fd);
  return problem;
}

}  // namespace vantrel

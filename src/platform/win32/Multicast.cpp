// The multicast command socket of Windows (Winsock).
// Platform.h first: <windows.h> defines its ES_ flags as macros.
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Wide.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <optional>
#include <vector>

namespace vantrel {

namespace {

class Win32MulticastReceiver : public MulticastReceiver {
 public:
  Win32MulticastReceiver(SOCKET s, WSAEVENT readable, HANDLE wake, ip_mreq membership, int bufferSize)
      : socket_(s), readable_(readable), wake_(wake), membership_(membership),
        buffer_(static_cast<std::size_t>(bufferSize)) {}
  ~Win32MulticastReceiver() override {
    closesocket(socket_);
    WSACloseEvent(readable_);
    CloseHandle(wake_);
  }

  Wait receive(std::string& bytes, int timeoutMs) override {
    // A datagram may already be queued from before the last wait.
    if (const auto got = tryReceive(bytes)) return *got;
    const HANDLE events[2] = {wake_, readable_};
    const DWORD r = WaitForMultipleObjects(2, events, FALSE, timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    if (r == WAIT_OBJECT_0) return Wait::Interrupted;
    if (r == WAIT_TIMEOUT) return Wait::Timeout;
    if (r != WAIT_OBJECT_0 + 1) return Wait::Failed;
    WSANETWORKEVENTS happened{};
    WSAEnumNetworkEvents(socket_, readable_, &happened);  // resets the event
    if (const auto got = tryReceive(bytes)) return *got;
    return Wait::Timeout;
  }

  void interrupt() override { SetEvent(wake_); }

  void leaveGroup() override {
    setsockopt(socket_, IPPROTO_IP, IP_DROP_MEMBERSHIP, reinterpret_cast<const char*>(&membership_),
               sizeof membership_);
  }

 private:
  // Datagram, Discarded or Failed when the socket had something to say; nothing when it
  // had nothing queued.
  std::optional<Wait> tryReceive(std::string& bytes) {
    const int got = recv(socket_, buffer_.data(), static_cast<int>(buffer_.size()), 0);
    if (got >= 0) {
      bytes.assign(buffer_.data(), static_cast<std::size_t>(got));
      return Wait::Datagram;
    }
    const int error = WSAGetLastError();
    // A datagram longer than the buffer is reported, and dropped whole, by WSAEMSGSIZE.
    if (error == WSAEMSGSIZE) return Wait::Discarded;
    if (error == WSAEWOULDBLOCK || error == WSAEINTR || error == WSAECONNRESET) return std::nullopt;
    return Wait::Failed;
  }

  SOCKET socket_;
  WSAEVENT readable_;
  HANDLE wake_;
  ip_mreq membership_;
  std::vector<char> buffer_;
};

bool parseAddress(const std::string& text, in_addr& address) {
  return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

}  // namespace

std::unique_ptr<MulticastReceiver> Win32Platform::openMulticastReceiver(const std::string& group, int port,
                                                                        int bufferSize) {
  in_addr groupAddress{};
  if (!winsock_ || !parseAddress(group, groupAddress) || port < 0 || port > 65535 || bufferSize <= 0)
    return nullptr;
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return nullptr;
  // No address reuse: a port another program holds stays its own.
  const BOOL off = FALSE;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&off), sizeof off);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(static_cast<u_short>(port));
  ip_mreq membership{};
  membership.imr_multiaddr = groupAddress;
  membership.imr_interface.s_addr = htonl(INADDR_ANY);
  if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      setsockopt(s, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&membership), sizeof membership) != 0) {
    closesocket(s);
    return nullptr;
  }
  const WSAEVENT readable = WSACreateEvent();
  const HANDLE wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);  // stays set once interrupted
  // WSAEventSelect also makes the socket non-blocking, so a receive never hangs.
  if (readable == WSA_INVALID_EVENT || wake == nullptr || WSAEventSelect(s, readable, FD_READ) != 0) {
    if (readable != WSA_INVALID_EVENT) WSACloseEvent(readable);
    if (wake) CloseHandle(wake);
    closesocket(s);
    return nullptr;
  }
  return std::make_unique<Win32MulticastReceiver>(s, readable, wake, membership, bufferSize);
}

std::string Win32Platform::sendMulticast(const std::string& group, int port, const std::string& bytes) {
  in_addr groupAddress{};
  if (!parseAddress(group, groupAddress)) return "'" + group + "' is not an IPv4 address";
  if (!winsock_) return "Winsock is not available";
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return win32::lastErrorText(static_cast<unsigned long>(WSAGetLastError()));
  const DWORD ttl = 1;
  const DWORD loop = 1;
  setsockopt(s, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&ttl), sizeof ttl);
  setsockopt(s, IPPROTO_IP, IP_MULTICAST_LOOP, reinterpret_cast<const char*>(&loop), sizeof loop);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr = groupAddress;
  to.sin_port = htons(static_cast<u_short>(port));
  const int sent = sendto(s, bytes.data(), static_cast<int>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  std::string problem;
  if (sent == SOCKET_ERROR)
    problem = win32::lastErrorText(static_cast<unsigned long>(WSAGetLastError()));
  else if (static_cast<std::size_t>(sent) != bytes.size())
    problem = "the datagram was sent only in part";
  closesocket(s);
  return problem;
}

}  // namespace vantrel

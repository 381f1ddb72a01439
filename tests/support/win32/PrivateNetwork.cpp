// Windows cannot make a network namespace of its own: test-windows.sh runs the programs
// (Wine and its server) inside one and says so in VANTREL_PRIVATE_NETWORK. The test
// checks that only loopback adapters are there before it opens a socket.
#include "support/PrivateNetwork.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <vector>

namespace vantrel::test {

namespace {

// The types of all adapters, whatever their state; nullopt when they cannot be listed.
std::optional<std::vector<DWORD>> adapterTypes() {
  ULONG size = 16 * 1024;
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::vector<unsigned char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    const ULONG rc = GetAdaptersAddresses(AF_UNSPEC, 0, nullptr, list, &size);
    if (rc == ERROR_BUFFER_OVERFLOW) continue;
    if (rc == ERROR_NO_DATA) return std::vector<DWORD>{};
    if (rc != NO_ERROR) return std::nullopt;
    std::vector<DWORD> types;
    for (auto* a = list; a != nullptr; a = a->Next) types.push_back(a->IfType);
    return types;
  }
  return std::nullopt;
}

void skip() {
  GTEST_SKIP() << "opens sockets only inside a private network namespace; "
                  "scripts/test-windows.sh runs it in one";
}

}  // namespace

bool inPrivateNetwork() {
  if (std::getenv("VANTREL_PRIVATE_NETWORK") == nullptr) {
    skip();
    return false;
  }
  const auto types = adapterTypes();
  if (!types) {
    ADD_FAILURE() << "the network adapters cannot be listed; no socket is opened";
    return false;
  }
  for (const DWORD type : *types) {
    if (type != IF_TYPE_SOFTWARE_LOOPBACK) {
      ADD_FAILURE() << "an adapter other than loopback is there; no socket is opened";
      return false;
    }
  }
  return true;
}

}  // namespace vantrel::test

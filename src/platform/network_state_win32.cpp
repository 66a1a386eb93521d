#include "platform/network_state.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <vector>

namespace vantorel::platform {
namespace {

// An interface other than loopback is up and has an address, as on the other systems.
class RealNetworkState final : public NetworkState {
 public:
  bool IsConnected() const override {
    constexpr ULONG kFlags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
      buffer.resize(size);
      result =
          ::GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr,
                                 reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) return false;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
      if (adapter->OperStatus == IfOperStatusUp && adapter->IfType != IF_TYPE_SOFTWARE_LOOPBACK &&
          adapter->FirstUnicastAddress != nullptr) {
        return true;
      }
    }
    return false;
  }
};

}  // namespace

const NetworkState& SystemNetworkState() {
  static const RealNetworkState state;
  return state;
}

}  // namespace vantorel::platform

#pragma once

namespace vantorel::platform {

// Whether the machine has a network to ask: a non-loopback interface that is up and has an
// address.
class NetworkState {
 public:
  virtual ~NetworkState() = default;
  virtual bool IsConnected() const = 0;
};

const NetworkState& SystemNetworkState();
inline bool IsNetworkConnected() {
  return SystemNetworkState().IsConnected();
}

}  // namespace vantorel::platform

#pragma once

#include <cstdint>
#include <string>

#include "support/temp_dir.h"

namespace vantorel::test {

// A real chronyd serving its local clock on 127.0.0.1, started for one test and stopped by
// its PID. With a fake offset it runs under libfaketime, so its clock is off by that much.
// A test built for Windows runs under Wine and cannot start it: there the test command starts
// one chronyd per offset beforehand and names their ports in VANTOREL_TEST_CHRONYD
// ("0=PORT,+2.5=PORT,..."), and this finds its own.
class ChronydServer {
 public:
  // fakeOffset: empty for the true clock, else libfaketime's FAKETIME value ("+2.5").
  explicit ChronydServer(const std::string& fakeOffset = "");
  ~ChronydServer();
  ChronydServer(const ChronydServer&) = delete;
  ChronydServer& operator=(const ChronydServer&) = delete;

  // True once the server answers with a synchronised reply; the reason otherwise.
  bool Ready() const { return m_ready; }
  const std::string& Problem() const { return m_problem; }
  uint16_t Port() const { return m_port; }

  static std::string ChronydPath();
  static std::string FakeTimeLibrary();

 private:
  bool WaitUntilServing();

  TempDir m_dir;
  long m_pid = -1;
  uint16_t m_port = 0;
  bool m_ready = false;
  std::string m_problem;
};

}  // namespace vantorel::test

#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace vantorel::bench {

// Median, p99 and max of a sample, printed as one table row.
inline void PrintRow(const char* name, std::vector<double> samples, const char* unit,
                     double cpuPercent) {
  if (samples.empty()) {
    std::printf("| %s | no samples |\n", name);
    return;
  }
  std::sort(samples.begin(), samples.end());
  auto at = [&](double q) {
    return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1))];
  };
  char cpu[16] = "n/a";  // negative: not measurable in that run
  if (cpuPercent >= 0) std::snprintf(cpu, sizeof cpu, "%.2f %%", cpuPercent);
  std::printf("| %-38s | %5zu | %8.3f %s | %8.3f %s | %8.3f %s | %8s |\n", name, samples.size(),
              at(0.5), unit, at(0.99), unit, samples.back(), unit, cpu);
}

inline void PrintHeader() {
  std::printf("| %-38s | %5s | %11s | %11s | %11s | %8s |\n", "measure", "n", "median", "p99",
              "max", "CPU");
  std::printf("|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------", "-------",
              "-------------", "-------------", "-------------", "----------");
}

// CPU seconds this process has used (user + system).
inline double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Keeps one core busy while it lives.
class BusyCore {
 public:
  BusyCore()
      : m_thread([this] {
          volatile unsigned long sink = 0;
          while (!m_stop.load(std::memory_order_relaxed)) sink = sink + 1;
        }) {}
  ~BusyCore() {
    m_stop = true;
    m_thread.join();
  }

 private:
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace vantorel::bench

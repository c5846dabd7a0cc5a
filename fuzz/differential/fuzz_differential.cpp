// Runs random sessions on the baseline core and on the current one and
// stops at the first step where what the user sees or saves differs; the
// failing session is then shortened and written out. Without coverage
// feedback it runs many times faster than a libFuzzer target would.
//   fuzz_differential STEPS [SEED]
// POMELI2_DIFFERENTIAL_LAST=FILE keeps each session's bytes in FILE.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "session.h"

namespace {

// The first step at which the two cores differ, or -1; `steps` is how many
// steps the session had.
long FirstDifference(const std::vector<std::uint8_t>& input, const std::string& folder, std::string* report,
                     std::size_t* steps = nullptr) {
  const bool full = report != nullptr;
  const std::vector<std::string> baseline = RunBaselineSession(input.data(), input.size(), folder, full);
  const std::vector<std::string> current = RunCurrentSession(input.data(), input.size(), folder, full);
  if (steps) *steps = baseline.size();
  for (std::size_t i = 0; i < baseline.size() || i < current.size(); ++i) {
    const std::string none = "(no step)";
    const std::string& a = i < baseline.size() ? baseline[i] : none;
    const std::string& b = i < current.size() ? current[i] : none;
    if (a == b) continue;
    if (report) *report = "--- baseline\n" + a + "\n--- current\n" + b + "\n";
    return static_cast<long>(i);
  }
  return -1;
}

// Drops ever smaller runs of bytes while the sessions still differ.
std::vector<std::uint8_t> Shorten(std::vector<std::uint8_t> input, const std::string& folder) {
  for (std::size_t chunk = input.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t at = 0; at + chunk <= input.size();) {
      std::vector<std::uint8_t> shorter(input.begin(), input.begin() + static_cast<long>(at));
      shorter.insert(shorter.end(), input.begin() + static_cast<long>(at + chunk), input.end());
      if (FirstDifference(shorter, folder, nullptr) >= 0)
        input = std::move(shorter);
      else
        at += chunk;
    }
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned long long wanted = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : std::random_device{}();
  char pattern[] = "/dev/shm/pomeli2-differential-XXXXXX";
  const std::string folder = std::string(mkdtemp(pattern)) + "/";
  std::mt19937_64 random(seed);
  unsigned long long steps = 0, sessions = 0;
  int status = 0;
  while (steps < wanted) {
    std::vector<std::uint8_t> input(8 + random() % 600);
    for (std::uint8_t& byte : input) byte = static_cast<std::uint8_t>(random());
    // A crash stops the runner before it can shorten the session: the
    // session being run is kept where this names, to be run again.
    if (const char* last = std::getenv("POMELI2_DIFFERENTIAL_LAST"))
      std::ofstream(last, std::ios::binary)
          .write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
    std::string report;
    std::size_t session_steps = 0;
    long at = FirstDifference(input, folder + "s/", nullptr, &session_steps);
    if (at >= 0) {
      std::vector<std::uint8_t> shortest = Shorten(input, folder + "s/");
      at = FirstDifference(shortest, folder + "s/", &report);
      const std::string name = "differential-" + std::to_string(seed) + ".bin";
      std::ofstream(name, std::ios::binary)
          .write(reinterpret_cast<const char*>(shortest.data()), static_cast<std::streamsize>(shortest.size()));
      std::fprintf(stderr, "step %ld of %zu differs (session in %s)\n%s", at, shortest.size(), name.c_str(),
                   report.c_str());
      status = 1;
      break;
    }
    steps += session_steps;
    ++sessions;
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::fprintf(stderr, "seed %llu: %llu sessions, %llu steps agreed\n", seed, sessions, steps);
  return status;
}

#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "link/commands.h"
#include "sim/controller.h"
#include "sim/pty_server.h"
#include "support/temp_dir.h"

namespace qelvo::cli::test {

// What one run of `qelvo` gave.
struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

inline Outcome Qelvo(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  std::istringstream in;
  Outcome run;
  run.status = RunCli(args, out, err, in);
  run.out = out.str();
  run.err = err.str();
  return run;
}

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

inline void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The offsets at which two images differ.
inline std::vector<std::size_t> ChangedOffsets(std::span<const std::uint8_t> before,
                                               std::span<const std::uint8_t> after) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
    if (before[i] != after[i])
      offsets.push_back(i);
  return offsets;
}

// A simulated controller, unpaced, on a pty of the test's own, reached with --port; and a
// folder for the test's files.
//
// The port is a link in a folder of its own, never the pty's own name: a vanished pty frees its
// number for the next pty made by a test running alongside, and a run reopening the old
// name would talk to that test's controller.
class CliWithController : public ::testing::Test {
 protected:
  void SetUp() override {
    controller_.SetPaced(false);
    auto started = sim::PtyServer::Start(controller_, (portDir_.path() / "ttyQELVO0").string());
    ASSERT_TRUE(started.server) << started.error;
    server_ = std::move(started.server);
  }

  std::string port() const { return server_->PortPath(); }
  std::filesystem::path File(const std::string& name) const { return dir_.path() / name; }
  std::size_t RequestsSeen(std::uint8_t command) const {
    std::size_t count = 0;
    for (const auto& request : controller_.RequestLog())
      if (request.command() == command)
        ++count;
    return count;
  }

  test_support::TempDir dir_;
  test_support::TempDir portDir_;  // outlives the server, which removes its link in it
  sim::SimulatedController controller_;
  std::unique_ptr<sim::PtyServer> server_;
};

}  // namespace qelvo::cli::test

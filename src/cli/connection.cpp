#include "cli/connection.h"

#include <ostream>

#include "cli/messages.h"

namespace qelvo::cli {
namespace {

constexpr std::string_view kSimulateOption = "--simulate";

// The value of "--name VALUE" or "--name=VALUE" at words[i]; advances i past it.
bool TakeValue(const std::vector<std::string>& words, std::size_t& i, std::string_view name,
               std::string& value, std::string& error) {
  const std::string& word = words[i];
  if (word.size() > name.size() && word.compare(0, name.size(), name) == 0 &&
      word[name.size()] == '=') {
    value = word.substr(name.size() + 1);
    return true;
  }
  if (i + 1 >= words.size()) {
    error = std::string(name) + " needs a value";
    return false;
  }
  value = words[++i];
  return true;
}

bool Is(const std::string& word, std::string_view name) {
  return word == name || (word.size() > name.size() && word.compare(0, name.size(), name) == 0 &&
                          word[name.size()] == '=');
}

}  // namespace

bool TakeConnectionOptions(std::vector<std::string>& words, ConnectionOptions& options,
                           std::string& error) {
  std::vector<std::string> rest;
  std::vector<std::string> simulatorWords;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    std::string value;
    if (Is(word, "--port")) {
      if (!TakeValue(words, i, "--port", value, error))
        return false;
      options.ports.push_back(value);
    } else if (Is(word, "--trace")) {
      if (!TakeValue(words, i, "--trace", value, error))
        return false;
      options.tracePath = value;
    } else if (word == kSimulateOption) {
      options.simulate = true;
    } else if (Is(word, kSimulateOption)) {
      options.simulate = true;
      if (!sim::ParseFamilyVersion(word.substr(kSimulateOption.size() + 1),
                                   options.simulator.identity, error))
        return false;
    } else {
      std::string simError;
      const int taken = sim::ParseSimOption(words, i, options.simulator, simError);
      if (taken < 0) {
        error = simError;
        return false;
      }
      if (taken == 0) {
        rest.push_back(word);
        continue;
      }
      simulatorWords.push_back(word);
      i += static_cast<std::size_t>(taken) - 1;
    }
  }
  if (!simulatorWords.empty() && !options.simulate) {
    error = simulatorWords.front() + " is an option of the simulated controller: add --simulate";
    return false;
  }
  if (options.simulate && !options.ports.empty()) {
    error = "--simulate and --port exclude each other";
    return false;
  }
  words = std::move(rest);
  return true;
}

std::unique_ptr<ControllerSession> ControllerSession::Open(const ConnectionOptions& options,
                                                           std::ostream& err, std::string& error) {
  std::unique_ptr<ControllerSession> session(new ControllerSession());
  if (!options.tracePath.empty()) {
    session->trace_ = link::TraceLog::Create(options.tracePath, error);
    if (!session->trace_)
      return nullptr;
    session->link_.trace = session->trace_->Hook();
  }
  std::vector<std::string> ports = options.ports;
  if (options.simulate) {
    session->simulator_ = sim::MakeController(options.simulator);
    auto started = sim::PtyServer::Start(*session->simulator_, options.simulator.linkPath);
    if (!started.server) {
      error = "Cannot start the simulated controller: " + started.error;
      return nullptr;
    }
    session->server_ = std::move(started.server);
    ports = {session->server_->PortPath()};
  }
  session->connector_ = std::make_unique<link::Connector>(session->link_, ports);
  session->connector_->onSettingError = [&err](const std::string& path) {
    err << kSettingError << "(" << path << ")\n";
  };
  if (!session->connector_->ConnectController()) {
    error = std::string(kNoController);
    return nullptr;
  }
  return session;
}

ControllerSession::~ControllerSession() {
  // The port closes before the simulated controller behind it goes away.
  connector_.reset();
  server_.reset();
}

const std::string& ControllerSession::portPath() const {
  return connector_->port()->path();
}

}  // namespace qelvo::cli

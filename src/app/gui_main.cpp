// qelvo-user-app: the window program.

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "app/controller_connection.h"
#include "app/options.h"
#include "app/run_state.h"
#include "link/trace_log.h"
#include "ui/qt/qt_backend.h"

#ifdef QELVO_HAVE_STANDARD_PAGES
#include "app/pages/standard_page_factory.h"
#else
#include "app/placeholder_page.h"
#endif

#ifdef QELVO_HAVE_SIM
#include "sim/options.h"
#include "sim/pty_server.h"
#endif

namespace {

constexpr char kProgramName[] = "qelvo-user-app";
constexpr int kExitBadOptions = 2;

int BadOptions(const std::string& error) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName, error.c_str(), kProgramName);
  return kExitBadOptions;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qelvo;

  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const app::OptionsResult parsed = app::ParseOptions(args);
  if (!parsed.ok)
    return BadOptions(parsed.error);
  const app::Options& options = parsed.options;
  if (options.help) {
    std::fputs(app::HelpText(kProgramName).c_str(), stdout);
    return 0;
  }

  std::vector<std::string> ports = options.ports;

#ifdef QELVO_HAVE_SIM
  sim::SimOptions simOptions;
  std::unique_ptr<sim::SimulatedController> controller;
  std::unique_ptr<sim::PtyServer> simulator;
  if (options.simulate) {
    std::string error;
    if (!options.simulate->empty() &&
        !sim::ParseFamilyVersion(*options.simulate, simOptions.identity, error))
      return BadOptions("--simulate=" + *options.simulate + ": " + error);
    simOptions.paced = true;
    controller = sim::MakeController(simOptions);
    auto started = sim::PtyServer::Start(*controller);
    if (!started.server)
      return BadOptions("cannot start the simulated controller: " + started.error);
    simulator = std::move(started.server);
    ports = {simulator->PortPath()};
  }
#else
  if (options.simulate)
    return BadOptions("this build has no simulated controller");
#endif

  std::unique_ptr<link::TraceLog> trace;
  auto state = std::make_unique<app::RunState>();
  if (!options.traceFile.empty()) {
    std::string error;
    trace = link::TraceLog::Create(options.traceFile, error);
    if (!trace)
      return BadOptions("--trace " + options.traceFile + ": " + error);
    state->link.trace = trace->Hook();
  }

  // Qt gets no arguments of its own: the command line is ours alone.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  ui::QtBackend backend;
  app::SerialConnection connection(state->link, ports);
#ifdef QELVO_HAVE_STANDARD_PAGES
  app::StandardPageFactory pages(backend, *state);
#else
  app::PlaceholderPageFactory pages;
#endif
  app::CQelvoUserAppApp(backend, *state, connection, pages).Run();
  return 0;
}

// Pictures of the main window with each page, on Qt's offscreen platform against the
// simulated controller, for the README. They land in the build folder's screenshots/.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <filesystem>

#include "app/controller_connection.h"
#include "app/main_window.h"
#include "app/pages/standard_page_factory.h"
#include "app/run_state.h"
#include "app/templates/control_ids.h"
#include "sim/controller.h"
#include "sim/pty_server.h"
#include "ui/qt/qt_backend.h"

namespace qelvo::app {
namespace {

// Lets the window draw and the monitor tick a few times.
void Settle(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST(Screenshots, MainWindowWithEachPage) {
  const std::filesystem::path dir = QELVO_SCREENSHOT_DIR;
  std::filesystem::create_directories(dir);

  sim::SimulatedController controller;
  controller.SetPaced(false);
  auto started = sim::PtyServer::Start(controller);
  ASSERT_TRUE(started.server) << started.error;

  auto state = std::make_unique<RunState>();
  SerialConnection connection(state->link, {started.server->PortPath()});
  ui::QtBackend backend;
  StandardPageFactory pages(backend, *state);
  CQelvoUserAppDlg window(backend, *state, connection, pages);

  const struct {
    int button;
    const char* file;
  } kShots[] = {{kVehicleButtonId, "main_window_vehicle.png"},
                {kControlButtonId, "main_window_control.png"},
                {kMotorButtonId, "main_window_motor.png"},
                {kMonitorButtonId, "main_window_monitor.png"},
                {kComButtonId, "main_window_com.png"}};
  std::vector<std::filesystem::path> saved;
  backend.Post([&] {
    for (const auto& shot : kShots) {
      window.OnCommandButton(shot.button);
      Settle(shot.button == kMonitorButtonId ? 1200 : 200);
      const auto path = dir / shot.file;
      if (ui::QtBackend::SavePicture(*window.window(), QString::fromStdString(path.string())))
        saved.push_back(path);
    }
    window.window()->EndModal(ui::kResultCancel);
  });
  window.DoModal();

  ASSERT_EQ(saved.size(), std::size(kShots));
  for (const auto& path : saved) {
    const QImage picture(QString::fromStdString(path.string()));
    EXPECT_FALSE(picture.isNull()) << path;
    EXPECT_GT(picture.width(), 400) << path;
  }
}

}  // namespace
}  // namespace qelvo::app

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

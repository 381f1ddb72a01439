// Start-up: splash, the main window and its model, a pause, the message loop.
#include <QApplication>
#include <QSocketNotifier>
#ifndef _WIN32
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "app/TfrmMain.h"
#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "gui/SplashWindow.h"
#include "platform/HostPlatform.h"
#include "runtime/SystemCritical.h"

#ifndef _WIN32
namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}

}  // namespace
#endif

int main(int argc, char* argv[]) {
  using namespace vantrel;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vantrel");

  // SIGTERM and SIGINT close the main window as Exit does, so the close-time steps run.
  // The handler is in place before the splash pause; a signal that comes early is
  // handled as soon as the message loop runs.
  QWidget* mainWindow = nullptr;
  gui::QtUi* mainUi = nullptr;
#ifndef _WIN32
  // (Windows closes a windowed program through its window, which the main window handles.)
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&] {
      char c;
      [[maybe_unused]] auto n = ::read(signalPipe[0], &c, 1);
      if (mainUi) mainUi->setQuiet(true);
      if (mainWindow) mainWindow->close();
      QApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
  }
#endif

  HostPlatform platform;
  // The keep-awake object lives for the whole run, before any window.
  TSystemCritical keepAwake(platform);

  gui::SplashWindow splash;
  splash.show();
  splash.repaint();
  QApplication::processEvents();

  std::vector<std::string> arguments;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) arguments.push_back(args[i].toStdString());

  gui::QtUi ui;
  TfrmMain model(platform, ui, keepAwake, arguments);
  gui::MainWindow window(model, ui);
  ui.setMainWindow(&window);
  mainWindow = &window;
  mainUi = &ui;

  platform.sleepMs(2000);
  splash.hide();

  window.show();
  const int rc = QApplication::exec();
  // A start that was under way in a nested dialog when the close came may have left a
  // panel running: nothing the program started outlives it.
  if (model.action("aStopPanel").Enabled) {
    try {
      model.aStopPanelExecute();
    } catch (...) {
    }
  }
  keepAwake.setIsCritical(false);
  return rc;
}

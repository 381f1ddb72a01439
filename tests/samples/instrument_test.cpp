// A sample instrument against its command line and its placement file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/Feed.h"
#include "common/Instrument.h"
#include "store/IniFile.h"
#include "support/TempDir.h"

extern char** environ;

namespace vantrel::samples {
namespace {

using test::TempDir;

class SquareFace : public Face {
 public:
  void paint(QPainter&, const QRectF&, const FeedValues&, const FaceStyle&) const override {}
};

// The eleven tokens the manager hands an instrument row, already split.
std::vector<std::string> tokens(const std::string& program, const std::string& panel,
                                const std::string& size, const std::string& instNo,
                                const std::string& monitor = "0") {
  return {program, "49101", panel, "127.0.0.1", "", size, "true", monitor, "false", instNo,
          "224.11.5.62"};
}

class ScopedAppData {
 public:
  explicit ScopedAppData(const std::string& folder) {
    const char* old = std::getenv("APPDATA");
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv("APPDATA", folder.c_str(), 1);
  }
  ~ScopedAppData() {
    if (had_) ::setenv("APPDATA", old_.c_str(), 1);
    else ::unsetenv("APPDATA");
  }

 private:
  bool had_ = false;
  std::string old_;
};

TEST(SampleFeed, ReadsNamedNumbersAndLeavesOutTheRest) {
  struct Case {
    const char* datagram;
    FeedValues expected;
  };
  const Case cases[] = {
      {"ias=95.2;alt=3500;hdg=270", {{"ias", 95.2}, {"alt", 3500}, {"hdg", 270}}},
      {" IAS = 80 ; Roll=-12.5;", {{"ias", 80}, {"roll", -12.5}}},
      {"ias=fast;alt=;=3;hdg", {}},
      {"alt=1e9;vsi=inf;rpm=nan;pitch=2", {{"pitch", 2}}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(parseFeed(c.datagram), c.expected) << c.datagram;
}

// A left-button drag by (dx, dy), as the user does it. Each event is made just before it
// is sent: events of one pointing device share its point.
void drag(QWidget& w, QPoint by) {
  const QPointF at(10, 10);
  const QPointF from = w.mapToGlobal(at);
  const QPointF to = from + QPointF(by);
  {
    QMouseEvent press(QEvent::MouseButtonPress, at, from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
  }
  {
    QMouseEvent move(QEvent::MouseMove, at + QPointF(by), to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, at + QPointF(by), to, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
}

TEST(SampleInstrument, OpensWhereItsPlacementFileSaysAndWritesItBackWhenClosed) {
  struct Case {
    const char* locked;
    QPoint after;  // where a drag by (80, 70) leaves it
  };
  for (const Case& c : {Case{"False", {200, 150}}, Case{"True", {120, 80}}}) {
    SCOPED_TRACE(c.locked);
    TempDir dir;
    ScopedAppData appData(dir.str());
    const std::string placement = "Quorvane/Dexalune/Panel_Demo Panel/Airspeed2.ini";
    dir.write(placement, std::string("[Position]\r\nMonitor=0\r\nX=120\r\nY=80\r\nIsLocked=") +
                             c.locked + "\r\nOwnKey=kept\r\n[Size]\r\nScaleSize=1.5\r\n[Mine]\r\nColour=blue\r\n");
    SquareFace face;
    InstrumentWindow window(face, parseSampleArgs(tokens("/opt/Instruments_Brantic/P@Airspeed.exe",
                                                          "Demo Panel", "1", "2")));
    EXPECT_EQ(window.placementPath(), dir.file(placement));
    const QPoint origin = QGuiApplication::primaryScreen()->geometry().topLeft();
    EXPECT_EQ(window.pos(), origin + QPoint(120, 80));
    EXPECT_EQ(window.size(), QSize(360, 360));  // 240 by 240 at 1.5

    window.show();
    drag(window, {80, 70});
    EXPECT_EQ(window.pos(), origin + c.after);
    window.close();

    const IniFile ini(dir.file(placement), FlagStyle::TrueFalse);
    EXPECT_EQ(ini.readString("Position", "Monitor", "?"), "0");
    EXPECT_EQ(ini.readString("Position", "X", "?"), std::to_string(c.after.x()));
    EXPECT_EQ(ini.readString("Position", "Y", "?"), std::to_string(c.after.y()));
    EXPECT_EQ(ini.readString("Position", "IsLocked", "?"), c.locked);
    EXPECT_EQ(ini.readString("Size", "ScaleSize", "?"), "1.5");
    // The instrument writes its five keys and keeps every other line.
    EXPECT_EQ(ini.readString("Position", "OwnKey", "?"), "kept");
    EXPECT_EQ(ini.readString("Mine", "Colour", "?"), "blue");
  }
}

TEST(SampleInstrument, KeepsTheMonitorOfItsFileWhileThatMonitorIsMissing) {
  TempDir dir;
  ScopedAppData appData(dir.str());
  const std::string placement = "Quorvane/Dexalune/Panel_P/Heading1.ini";
  dir.write(placement, "[Position]\r\nMonitor=3\r\nX=40\r\nY=50\r\nIsLocked=False\r\n");
  SquareFace face;
  InstrumentWindow window(face, parseSampleArgs(tokens("N@Heading.exe", "P", "1", "1")));
  // Shown on the first monitor meanwhile.
  EXPECT_EQ(window.pos(), QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(40, 50));
  window.show();
  window.close();
  const IniFile ini(dir.file(placement), FlagStyle::TrueFalse);
  EXPECT_EQ(ini.readString("Position", "Monitor", "?"), "3");
  EXPECT_EQ(ini.readString("Position", "X", "?"), "40");
}

TEST(SampleInstrument, WithoutAPlacementFileTakesTheCommandLineAndNeverMakesAPanelFolder) {
  TempDir dir;
  ScopedAppData appData(dir.str());
  dir.write("Quorvane/Dexalune/Panel_P/P.ini", "[Config]\r\n");
  SquareFace face;
  {
    // Size 1,5 as a comma locale writes it; no placement file yet.
    InstrumentWindow window(face, parseSampleArgs(tokens("P@Airspeed.exe", "P", "1,5", "1")));
    window.show();
    EXPECT_EQ(window.size(), QSize(360, 360));
    EXPECT_EQ(window.pos(), QGuiApplication::primaryScreen()->geometry().topLeft());
    window.close();
  }
  EXPECT_EQ(test::readFile(dir.file("Quorvane/Dexalune/Panel_P/Airspeed1.ini")),
            "[Position]\r\nMonitor=0\r\nX=0\r\nY=0\r\nIsLocked=False\r\n[Size]\r\nScaleSize=1.5\r\n");
  {
    // A panel whose folder is missing: nothing is written anywhere.
    InstrumentWindow window(face, parseSampleArgs(tokens("P@Airspeed.exe", "Gone", "1", "1")));
    window.show();
    window.close();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("Quorvane/Dexalune/Panel_Gone")));
}

bool catchesTerm(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
  return false;
}

TEST(SampleInstrument, ProgramEndsOnSigtermAndHasWrittenItsPlacement) {
  TempDir dir;
  const std::string placement = "Quorvane/Dexalune/Panel_C172/Altimeter1.ini";
  dir.write(placement, "[Position]\r\nMonitor=0\r\nX=40\r\nY=30\r\nIsLocked=False\r\n");
  const std::string program = VANTREL_SAMPLE_ALTIMETER;
  std::vector<std::string> args = tokens(program, "C172", "1.25", "1");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"APPDATA=" + dir.str(), "QT_QPA_PLATFORM=offscreen",
                                  "HOME=" + dir.str()};
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!catchesTerm(pid) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(catchesTerm(pid));
  ::kill(pid, SIGTERM);
  int status = 0;
  pid_t done = 0;
  while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (done == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    FAIL() << "the instrument did not end on SIGTERM";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dir.read(placement),
            "[Position]\r\nMonitor=0\r\nX=40\r\nY=30\r\nIsLocked=False\r\n[Size]\r\nScaleSize=1.25\r\n");
}

}  // namespace
}  // namespace vantrel::samples

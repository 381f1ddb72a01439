// The run-state file over the fake platform: what Start records, what the next Start ends
// before anything new runs, and what Stop removes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "runtime/RunState.h"
#include "support/MainFixture.h"

namespace vantrel::test {
namespace {

InstrumentRow row(const std::string& caption, const std::string& port, const std::string& path) {
  InstrumentRow r;
  r.Checked = true;
  r.Caption = caption;
  r.SubItems = {port, path, "224.11.5.62", "45000", "1", "1"};
  return r;
}

struct Loaded : MainFixture {
  TfrmMain& m;
  Loaded() : m(create()) {
    makePanel("Cessna");
    m.CurrentPanel = "Cessna";
    m.DocumentName = "Cessna";
    m.settings.XPlanePopOutChecking = false;
    m.UpdateStartAction(m.CurrentPanel);
    m.Instruments.add(row("A", "47000", "Instruments_Brantic\\P@ASI.exe"));
    m.Instruments.add(row("B", "47001", "Instruments_Brantic\\P@ALT.exe"));
  }
  bool stateExists() const { return std::filesystem::exists(runStatePath(dataFolder())); }
  RunState state() const {
    RunState s;
    EXPECT_TRUE(readRunState(dataFolder(), s));
    return s;
  }
  std::size_t firstStart() const {
    const auto& log = platform.log;
    return static_cast<std::size_t>(
        std::find_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("start ", 0) == 0; }) -
        log.begin());
  }
};

TEST(RunStateFile, RoundTripsOddProgramsAndSkipsLinesItCannotRead) {
  RunState s;
  s.manager = ProcessIdentity{77, "b1:123", "/opt/vantrel/vantrel"};
  s.processes = {{1001, "b1:200", "/data/Instruments 1/P@ASI.exe"},
                 {1002, "b1:201", "/odd\tname\nwith 100% line\rbreaks"}};
  const std::string text = runStateText(s);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  const RunState back = parseRunState(text);
  EXPECT_EQ(back.manager, s.manager);
  EXPECT_EQ(back.processes, s.processes);

  const RunState junk = parseRunState(
      "process\t12\tb:1\t/p\n"       // good
      "process\t0\tb:1\t/p\n"        // no process number
      "process\t-4\tb:1\t/p\n"
      "process\t12x\tb:1\t/p\n"
      "process\t13\t\t/p\n"          // no start time
      "process\t14\tb:1\t/p%4\n"     // broken escape
      "process\t15\tb:1\n"           // a field short
      "other\t16\tb:1\t/p\r\n"
      "process\t17\tb:2\t/q\r\n");   // good, CR LF
  EXPECT_EQ(junk.processes,
            (std::vector<ProcessIdentity>{{12, "b:1", "/p"}, {17, "b:2", "/q"}}));
  EXPECT_FALSE(junk.manager);
}

TEST(RunState, StartRecordsEveryProcessAndStopRemovesTheFile) {
  Loaded f;
  InstrumentRow app;
  app.Checked = true;
  app.Caption = "Zz Map";
  app.SubItems = {"App", "/usr/bin/map", "", "", "", ""};
  f.m.Instruments.add(app);
  f.m.settings.NoThirdPartyApp = true;
  // What is on record when the application starts, after its one-second wait.
  std::optional<RunState> beforeApp;
  f.platform.canStart = [&](const std::string& line) {
    if (line.find("/usr/bin/map") != std::string::npos) beforeApp = f.state();
    return true;
  };
  f.m.aStartPanelExecute();

  ASSERT_EQ(f.platform.processes.size(), 4u);
  ASSERT_TRUE(beforeApp);
  EXPECT_EQ(beforeApp->processes.size(), 3u) << "background and both instruments";
  const RunState s = f.state();
  EXPECT_EQ(s.manager, f.platform.self);
  std::vector<ProcessIdentity> expected;
  for (const auto& p : f.platform.processes) expected.push_back(*f.platform.processIdentity(p.handle));
  EXPECT_EQ(s.processes, expected);

  f.m.aStopPanelExecute();
  EXPECT_FALSE(f.stateExists());
}

TEST(RunState, NextStartEndsTheLeftoversFirstAndOnlyThoseThatStillMatch) {
  Loaded f;
  const ProcessIdentity still{501, "boot:old1", "/x/P@ASI.exe"};
  const ProcessIdentity reused{502, "boot:new", "/x/P@ALT.exe"};     // number taken again
  const ProcessIdentity otherProgram{503, "boot:old3", "/usr/bin/editor"};
  f.platform.foreign = {still, reused, otherProgram};
  RunState old;
  old.manager = ProcessIdentity{9, "boot:gone", "/opt/vantrel/vantrel"};  // killed
  old.processes = {still, {502, "boot:old2", "/x/P@ALT.exe"}, {503, "boot:old3", "/x/P@VSI.exe"}};
  writeRunState(f.dataFolder(), old);

  f.m.aStartPanelExecute();
  const auto& log = f.platform.log;
  const auto ended = std::find(log.begin(), log.end(), "end leftovers 3");
  ASSERT_NE(ended, log.end());
  EXPECT_LT(static_cast<std::size_t>(ended - log.begin()), f.firstStart()) << "before anything new starts";
  EXPECT_EQ(f.platform.foreign, (std::vector<ProcessIdentity>{reused, otherProgram}));
  EXPECT_EQ(f.state().processes.size(), 3u) << "only the new processes are on record";
  f.m.aStopPanelExecute();
}

TEST(RunState, ProcessesOfAManagerStillRunningAreLeftAlone) {
  Loaded f;
  const ProcessIdentity otherManager{9, "boot:9", "/opt/vantrel/vantrel"};
  const ProcessIdentity itsInstrument{501, "boot:501", "/x/P@ASI.exe"};
  f.platform.foreign = {otherManager, itsInstrument};
  RunState old;
  old.manager = otherManager;
  old.processes = {itsInstrument};
  writeRunState(f.dataFolder(), old);

  f.m.aStartPanelExecute();
  EXPECT_EQ(std::count_if(f.platform.log.begin(), f.platform.log.end(),
                          [](const std::string& l) { return l.rfind("end leftovers", 0) == 0; }),
            0);
  EXPECT_EQ(f.platform.foreign.size(), 2u);
  f.m.aStopPanelExecute();
}

}  // namespace
}  // namespace vantrel::test

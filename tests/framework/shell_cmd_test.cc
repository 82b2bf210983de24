#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>

#include "cordra/cordra.h"
#include "framework/shell_runner.h"

namespace Cordra {
namespace {

using AutoCli::AutoCli_ShellCmd;

TEST(ShellCmdTest, InputArrivesByteExactAndUninterpreted) {
  const std::string input =
      std::string("$(touch /nonexistent/x) `id` ; rm -rf / && echo $HOME 'q' \"dq\"\n\\n\n") +
      std::string("\0tail\xff", 6);
  std::string output;
  EXPECT_EQ(0, AutoCli_ShellCmd("cat", output, input));
  EXPECT_EQ(input, output);
}

TEST(ShellCmdTest, ReturnsTheExitStatusAndSignal) {
  std::string output;
  EXPECT_EQ(3, AutoCli_ShellCmd("echo out; exit 3", output, ""));
  EXPECT_EQ("out\n", output);
  EXPECT_EQ(128 + 9, AutoCli_ShellCmd("kill -9 $$", output, "ignored"));
}

TEST(ShellCmdTest, LargeInputAndOutputDoNotDeadlock) {
  std::string input;
  for (int i = 0; i < 200000; ++i) input += "line " + std::to_string(i) + "\n";
  std::string output;
  // The child writes its whole output before it reads anything.
  EXPECT_EQ(0, AutoCli_ShellCmd("head -c 300000 /dev/zero; cat", output, input));
  EXPECT_EQ(300000 + input.size(), output.size());
  EXPECT_EQ(input, output.substr(300000));
}

TEST(ShellCmdTest, ChildThatIgnoresItsInputDoesNotKillUs) {
  std::string input(4 << 20, 'x');  // far more than a pipe holds
  std::string output;
  EXPECT_EQ(0, AutoCli_ShellCmd("exec 0<&-; echo done", output, input));
  EXPECT_EQ("done\n", output);
  EXPECT_EQ(0, AutoCli_ShellCmd("true", output, input));
}

// A process with a timer's signal (no SA_RESTART): poll, read and write are
// interrupted again and again while the child sleeps and then echoes.
TEST(ShellCmdTest, InterruptedCallsAreTakenUpAgain) {
  struct sigaction tick = {}, old = {};
  tick.sa_handler = [](int) {};
  sigaction(SIGALRM, &tick, &old);
  const itimerval every = {{0, 500}, {0, 500}}, off = {};
  setitimer(ITIMER_REAL, &every, nullptr);
  const std::string input(1 << 20, 'x');
  std::string output;
  const int status = AutoCli_ShellCmd("sleep 0.05; cat", output, input);
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &old, nullptr);
  EXPECT_EQ(0, status);
  EXPECT_EQ(input, output);
}

class RunnerTest : public ::testing::Test {
 protected:
  void TearDown() override { Frame::SetShellCmdRunner(nullptr); }
};

// A mapped script running for real shows in the transcripts' agent events.
TEST_F(RunnerTest, ReplacementRunnerSeesTheMappedLineQuoted) {
  Frame::MapScriptPath("/usr/lib/tarvex/test/notify.py", "/opt/it's tools/notify");
  std::string seen_line, seen_input;
  auto previous = Frame::SetShellCmdRunner(
      [&](const std::string& line, std::string& output, const std::string& input) {
        seen_line = line;
        seen_input = input;
        output = "recorded";
        return 5;
      });
  EXPECT_FALSE(previous);  // the real runner was in place
  std::string output;
  EXPECT_EQ(5, AutoCli_ShellCmd("/usr/lib/tarvex/test/notify.py -t PreUnmount -i stdin", output,
                                "datastore1"));
  EXPECT_EQ("'/opt/it'\\''s tools/notify' -t PreUnmount -i stdin", seen_line);
  EXPECT_EQ("datastore1", seen_input);
  EXPECT_EQ("recorded", output);
  // Only the whole first word is mapped, also when it is the whole line.
  AutoCli_ShellCmd("/usr/lib/tarvex/test/notify.py", output, "");
  EXPECT_EQ("'/opt/it'\\''s tools/notify'", seen_line);
  AutoCli_ShellCmd("/usr/lib/tarvex/test/notify.py2 -t x", output, "");
  EXPECT_EQ("/usr/lib/tarvex/test/notify.py2 -t x", seen_line);
  AutoCli_ShellCmd("echo /usr/lib/tarvex/test/notify.py", output, "");
  EXPECT_EQ("echo /usr/lib/tarvex/test/notify.py", seen_line);
}

}  // namespace
}  // namespace Cordra

// What tarvexcli prints for each kind of result and format, and its exit
// status when the command reports errors.
#include "tests/e2e/cli_fixture.h"

namespace TarvexE2e {
namespace {

TEST_F(CliTest, ActionPrintsTrue) {
  for (const char* format : {"table", "simple", "json"}) {
    RunResult r = Cli({"--format", format, "storage", "test", "action", "-n", "vol1", "-e", "1"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("true\n", r.out) << format;
    EXPECT_EQ("", r.err);
  }
  RunResult r = Cli({"storage", "test", "action", "--name=vol1"});
  EXPECT_EQ("true\n", r.out);
}

TEST_F(CliTest, CommandErrorsGoToStderrOnePerLine) {
  RunResult r = Cli({"--format", "json", "storage", "test", "action", "-n", "vol1", "--fail"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("", r.out);  // no result: nothing at all, not even for json
  EXPECT_EQ("Cannot act on 'vol1': it is busy\nSecond message\n", r.err);

  RunResult thrown = Cli({"storage", "test", "action", "-n", "vol1", "--throw"});
  EXPECT_EQ(1, thrown.status);
  EXPECT_EQ("Unexpected failure on vol1\n", thrown.err);
}

TEST_F(CliTest, PartialResultIsPrintedWithItsError) {
  RunResult r = Cli({"storage", "test", "list", "-n", "a", "-n", "b", "--partial"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("Name  Size (MiB)  Mounted\n----  ----------  -------\na     100         false\n",
            r.out);
  EXPECT_EQ("Error reading volume after 'a', skipping.\n", r.err);
}

TEST_F(CliTest, DefaultFormatterIsTheCommands) {
  EXPECT_EQ(
      "Name        Size (MiB)  Mounted\n"
      "----------  ----------  -------\n"
      "vol1        100         false\n"
      "datastore2  200         true\n",
      Cli({"storage", "test", "list", "-n", "vol1", "-n", "datastore2"}).out);
  EXPECT_EQ(
      "Volume vol1\n   Name: vol1\n   Size: 100 MiB\n   Mounted: false\n\n"
      "Volume datastore2\n   Name: datastore2\n   Size: 200 MiB\n   Mounted: true\n\n",
      Cli({"storage", "test", "records", "-n", "vol1", "-n", "datastore2"}).out);
}

TEST_F(CliTest, FieldsAndNoHeaderShapeTheTableAndCsv) {
  EXPECT_EQ(
      "100  vol1\n",
      Cli({"--fields", "Size, Name", "--no-header", "storage", "test", "list", "-n", "vol1"}).out);
  EXPECT_EQ(
      "UUID,Name\r\n5f1e2d3c-8a7b6c5d-1e2f-100,vol1\r\n",
      Cli({"--format=csv", "--fields=UUID,Name", "storage", "test", "list", "-n", "vol1"}).out);
  EXPECT_EQ(
      "[\n  {\n    \"Name\": \"a\"\n  }\n]\n",
      Cli({"--format", "json", "--fields", "Name", "storage", "test", "list", "-n", "a"}).out);
}

TEST_F(CliTest, JsonParsesWithJqAndKeepsTypes) {
  RunResult r = Cli({"--format", "json", "storage", "test", "list"});
  ASSERT_EQ(0, r.status) << r.err;
  RunResult jq = Pipe(r.out, "/usr/bin/jq",
                      {"-e",
                       "length == 3 and .[0] == {\"Name\": \"plain\", \"Size\": 100, "
                       "\"Mounted\": false} and .[1].Name == \"a \\\"quoted\\\", comma\" and "
                       ".[2].Name == \"<&> new\\nline \\ufffd\" and .[1].Mounted == true"});
  EXPECT_EQ(0, jq.status) << r.out << jq.err;
  EXPECT_EQ("true\n", jq.out);
}

TEST_F(CliTest, XmlPassesXmllint) {
  RunResult r = Cli({"--format", "xml", "storage", "test", "records"});
  ASSERT_EQ(0, r.status) << r.err;
  RunResult lint = Pipe(r.out, "/usr/bin/xmllint", {"--noout", "-"});
  EXPECT_EQ(0, lint.status) << r.out << lint.err;
  RunResult name = Pipe(r.out, "/usr/bin/xmllint",
                        {"--xpath", "string(/output/list/structure[2]/field[@name='Name'])", "-"});
  EXPECT_EQ("a \"quoted\", comma\n", name.out);
  RunResult unit =
      Pipe(r.out, "/usr/bin/xmllint",
           {"--xpath", "string(/output/list/structure[1]/field[@name='Size']/@unit)", "-"});
  EXPECT_EQ("MiB\n", unit.out);
}

TEST_F(CliTest, CsvQuotesAwkwardValues) {
  RunResult r = Cli({"--format", "csv", "storage", "test", "list"});
  EXPECT_EQ(
      "Name,Size,Mounted\r\n"
      "plain,100,false\r\n"
      "\"a \"\"quoted\"\", comma\",200,true\r\n"
      "\"<&> new\nline \xEF\xBF\xBD\",300,false\r\n",
      r.out);
}

// The agent's script path is mapped to the stand-in agent, which records
// into the store given with --store: tarvexcli hands its choice on.
TEST_F(CliTest, NotificationReachesTheStandInAgent) {
  const std::string volume = "vol1; $(touch /tmp/x) \"q\" `id`";
  RunResult r = Cli({"storage", "test", "action", "-n", volume, "--notify"});
  ASSERT_EQ(0, r.status) << r.err;
  RunResult events = RunBinary(BinPath("tarvex-host"), {"--store", StorePath(), "events", "--json"},
                               {{"TARVEX_HOST_STORE", ""}});
  ASSERT_EQ(0, events.status) << events.err;
  RunResult jq = Pipe(events.out, "/usr/bin/jq",
                      {"-e", "--arg", "v", volume,
                       "length == 1 and .[0].event == \"PreUnmount\" and .[0].input == $v"});
  EXPECT_EQ(0, jq.status) << events.out;
}

}  // namespace
}  // namespace TarvexE2e

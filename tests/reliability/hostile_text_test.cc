// Hostile text through the built binaries, as a user would pass it: names
// as long as an argument can be, bytes that are not UTF-8, NUL bytes, shell
// metacharacters. Output must stay parseable in every format, the store must
// keep the exact bytes, and the datastore agent must hear the exact bytes on
// its standard input and nothing on a command line.
#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

using Json = nlohmann::json;

const std::vector<std::string> kFormats = {"json", "xml", "csv", "table", "simple"};

// A host with one NFS v3 volume `name` sharing `share`.
std::string NfsHost(const std::string& name, const std::string& share) {
  return Json{{"format", 1},
              {"nfs_servers", {{{"address", "192.0.2.10"}}}},
              {"volumes",
               {{{"type", "NFS"},
                 {"name", name},
                 {"uuid", "a0b1c2d3-e4f5a6b7"},
                 {"nfs", {{"hosts", {"192.0.2.10"}}, {"share", share}}}}}}}
      .dump();
}

// `length` bytes of printable text that do not repeat with a short period.
std::string LongText(size_t length, char first) {
  std::string text;
  text.reserve(length);
  for (size_t i = 0; i < length; ++i) text += static_cast<char>(first + (i * 7 + i / 26) % 26);
  return text;
}

class HostileTextTest : public StorageTest {
 protected:
  // The datastore agent's notifications as (event, input) pairs.
  std::vector<std::pair<std::string, std::string>> Notices() const {
    RunResult events = Host({"events", "--json"});
    EXPECT_EQ(events.status, 0) << events.err;
    std::vector<std::pair<std::string, std::string>> notices;
    for (const Json& e : Json::parse(events.out)) {
      notices.emplace_back(e["event"],
                           e.value("input", "<base64 " + e.value("input_base64", "") + ">"));
    }
    return notices;
  }

  // Every output format of `args` is well formed (jq and xmllint accept the
  // JSON and XML) and the JSON form is returned parsed.
  Json ListInEveryFormat(const std::vector<std::string>& args) const {
    Json parsed;
    for (const std::string& format : kFormats) {
      std::vector<std::string> full = {"--format", format};
      full.insert(full.end(), args.begin(), args.end());
      RunResult run = Cli(full);
      EXPECT_EQ(run.status, 0) << format << ": " << run.err;
      EXPECT_EQ(run.err, "") << format;
      if (format == "json") {
        EXPECT_EQ(RunBinary("/usr/bin/jq", {"-e", "length >= 0"}, {}, run.out).status, 0);
        parsed = Json::parse(run.out);
      } else if (format == "xml") {
        RunResult lint = RunBinary("/usr/bin/xmllint", {"--noout", "-"}, {}, run.out);
        EXPECT_EQ(lint.status, 0) << lint.err.substr(0, 500);
      }
    }
    return parsed;
  }
};

// One argument may be at most 128 KiB (less its NUL) on Linux; a name that
// long goes through add, list, unmount and remove as it is.
TEST_F(HostileTextTest, TheLongestArgumentTheSystemPassesIsANameLikeAnyOther) {
  const std::string name = LongText(128 * 1024 - 1, 'a');
  const std::string share = "/" + LongText(128 * 1024 - 2, 'A');
  ExpectTrue({"storage", "nfs", "add", "-H", "192.0.2.10", "-s", share, "-v", name});
  bool listed = false;
  for (const Json& row : ListInEveryFormat({"storage", "nfs", "list"})) {
    listed = listed || (row["Volume Name"] == name && row["Share"] == share);
  }
  EXPECT_TRUE(listed);
  ExpectTrue({"storage", "filesystem", "unmount", "-l", name});
  ExpectTrue({"storage", "nfs", "remove", "-v", name});
  const auto notices = Notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_TRUE(notices[0].second == name && notices[1].second == name);
}

TEST_F(HostileTextTest, NamesThatAreNotUtf8AreRefusedAndTheAgentHearsTheRawBytes) {
  RunResult add = Cli({"storage", "nfs", "add", "-H", "192.0.2.10", "-s", "/s", "-v", "bad\xff"});
  EXPECT_EQ(add.status, 1);
  // On stderr, as in every format for people, the bad byte shows as U+FFFD.
  EXPECT_EQ(add.err, "Cannot add NFS volume 'bad\xEF\xBF\xBD': the volume name is not UTF-8\n");
  EXPECT_EQ(JsonOf({"storage", "nfs", "list"},
                   "map(select(.[\"Volume Name\"] | startswith(\"bad\"))) | length"),
            "0\n");

  RunResult remove = Cli({"storage", "nfs", "remove", "-v", "gone\xff\x01"});
  EXPECT_EQ(remove.status, 1);
  EXPECT_EQ(remove.err,
            "Cannot remove NFS volume 'gone\xEF\xBF\xBD\\x01': no volume has that name\n");
  // Raw bytes are kept, as base64 where JSON cannot carry them.
  EXPECT_EQ(Notices(),
            (std::vector<std::pair<std::string, std::string>>{
                {"PreUnmount", "<base64 Z29uZf8B>"}, {"FailedUnmount", "<base64 Z29uZf8B>"}}));
  RunResult dump = Host({"dump"});
  EXPECT_EQ(Jq(dump.out, ".events | map(.input_base64) | join(\",\")"), "Z29uZf8B,Z29uZf8B\n");
}

TEST_F(HostileTextTest, NulBytesFromAFixtureStayIntactOrVisible) {
  const char raw_name[] = "nul\0name <&>\x01\x7f";
  const std::string name(raw_name, sizeof raw_name - 1);
  LoadFixture(NfsHost(name, std::string("/s\0", 3)));
  Json rows = ListInEveryFormat({"storage", "nfs", "list"});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(rows[0]["Volume Name"] == name);

  RunResult table = Cli({"storage", "nfs", "list"});
  EXPECT_NE(table.out.find("nul\\x00name <&>\\x01\\x7F"), std::string::npos) << table.out;
  RunResult xml = Cli({"--format", "xml", "storage", "nfs", "list"});
  EXPECT_NE(xml.out.find("nul\xEF\xBF\xBDname &lt;&amp;&gt;\xEF\xBF\xBD\x7f"), std::string::npos);

  ExpectTrue({"storage", "filesystem", "unmount", "-u", "a0b1c2d3-e4f5a6b7"});
  EXPECT_EQ(Notices(), (std::vector<std::pair<std::string, std::string>>{{"PreUnmount", name}}));
}

// Names full of shell syntax reach the agent as data on its standard
// input; nothing of them is ever run.
TEST_F(HostileTextTest, ShellMetacharactersNeverRun) {
  const std::string trap = dir_path() + "/ran";
  const std::vector<std::string> names = {"$(touch " + trap + "1)", "`touch " + trap + "2`",
                                          "a;touch " + trap + "3", "b|touch " + trap + "4 &",
                                          "c' \"d\" \\e * ? ~ < > >> #{} [x] !!\n$HOME\t%s%n"};
  std::vector<std::pair<std::string, std::string>> expected;
  for (const std::string& name : names) {
    ExpectTrue({"storage", "nfs", "add", "-H", "192.0.2.10", "-s", "/" + name, "-v", name});
    ExpectTrue({"storage", "filesystem", "unmount", "-l", name});
    ExpectTrue({"storage", "filesystem", "mount", "-l", name});
    ExpectTrue({"storage", "nfs", "remove", "-v", name});
    ExpectTrue({"storage", "nfs41", "add", "-H", "192.0.2.10", "-s", "/" + name, "-v", name});
    ExpectTrue({"storage", "nfs41", "remove", "-v", name});
    RunResult gone = Cli({"storage", "nfs", "remove", "-v", name});
    EXPECT_EQ(gone.status, 1);
    expected.insert(expected.end(), {{"PreUnmount", name},
                                     {"PreUnmount", name},
                                     {"PreUnmount", name},
                                     {"PreUnmount", name},
                                     {"FailedUnmount", name}});
  }
  EXPECT_EQ(Notices(), expected);
  for (int i = 1; i <= 4; ++i) {
    struct stat st;
    EXPECT_NE(stat((trap + std::to_string(i)).c_str(), &st), 0) << "a name was run as a command";
  }
}

// Every byte value but NUL (which no argument can hold) as a name: the test
// plug-in echoes them, and every format stays well formed.
class EveryByteTest : public CliTest {};

TEST_F(EveryByteTest, EveryFormatStaysWellFormed) {
  std::vector<std::string> args = {"storage", "test", "list"};
  for (int byte = 1; byte < 256; ++byte) {
    args.insert(args.end(), {"-n", std::string("<") + static_cast<char>(byte) + ">"});
  }
  // Sequences that are malformed only together.
  for (const char* sequence : {"\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x82x",
                               "\xef\xbf\xbe", "\xef\xbf\xbf", "\xf0\x9f\x98"}) {
    args.insert(args.end(), {"-n", sequence});
  }
  for (const std::string& format : kFormats) {
    std::vector<std::string> full = {"--format", format};
    full.insert(full.end(), args.begin(), args.end());
    RunResult run = Cli(full);
    ASSERT_EQ(run.status, 0) << format << ": " << run.err;
    if (format == "json") {
      RunResult jq =
          Pipe(run.out, "/usr/bin/jq", {"-e", "length == 262 and .[64].Name == \"<A>\""});
      EXPECT_EQ(jq.status, 0) << jq.err;
    } else if (format == "xml") {
      RunResult lint = Pipe(run.out, "/usr/bin/xmllint", {"--noout", "-"});
      EXPECT_EQ(lint.status, 0) << lint.err;
      RunResult count =
          Pipe(run.out, "/usr/bin/xmllint", {"--xpath", "count(/output/list/structure)", "-"});
      EXPECT_EQ(count.out, "262\n");
    }
    // Valid UTF-8 throughout: iconv refuses anything else.
    RunResult utf8 = Pipe(run.out, "/usr/bin/iconv", {"-f", "UTF-8", "-t", "UTF-8"});
    EXPECT_EQ(utf8.status, 0) << format << ": " << utf8.err;
  }
}

}  // namespace
}  // namespace TarvexE2e

// What tarvexcli prints for each kind of result and format, and its exit
// status when the command reports errors.
#include "tests/e2e/storage_fixture.h"

namespace TarvexE2e {
namespace {

TEST_F(CliTest, CommandErrorsGoToStderrOnePerLine) {
  RunResult r = Cli({"--format", "json", "storage", "test", "action", "-n", "vol1", "--fail"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("", r.out);  // no result: nothing at all, not even for json
  EXPECT_EQ("Cannot act on 'vol1': it is busy\nSecond message\n", r.err);

  RunResult thrown = Cli({"storage", "test", "action", "-n", "vol1", "--throw"});
  EXPECT_EQ(1, thrown.status);
  EXPECT_EQ("Unexpected failure on vol1\n", thrown.err);

  RunResult partial = Cli({"storage", "test", "list", "-n", "a", "-n", "b", "--partial"});
  EXPECT_EQ(1, partial.status);
  EXPECT_EQ("Name  Size (MiB)  Mounted\n----  ----------  -------\na     100         false\n",
            partial.out);
  EXPECT_EQ("Error reading volume after 'a', skipping.\n", partial.err);
}

// Output options and each command's own formatter, on the rows the user named.
TEST_F(CliTest, FormatsAndFieldsShapeTheOutput) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"storage", "test", "list", "-n", "vol1", "-n", "datastore2"},
       "Name        Size (MiB)  Mounted\n"
       "----------  ----------  -------\n"
       "vol1        100         false\n"
       "datastore2  200         true\n"},
      {{"storage", "test", "records", "-n", "vol1", "-n", "datastore2"},
       "Volume vol1\n   Name: vol1\n   Size: 100 MiB\n   Mounted: false\n\n"
       "Volume datastore2\n   Name: datastore2\n   Size: 200 MiB\n   Mounted: true\n\n"},
      {{"--fields", "Size, Name", "--no-header", "storage", "test", "list", "-n", "vol1"},
       "100  vol1\n"},
      {{"--format=csv", "--fields=UUID,Name", "storage", "test", "list", "-n", "vol1"},
       "UUID,Name\r\n5f1e2d3c-8a7b6c5d-1e2f-100,vol1\r\n"},
      {{"--format", "json", "--fields", "Name", "storage", "test", "list", "-n", "a"},
       "[\n  {\n    \"Name\": \"a\"\n  }\n]\n"},
      // Quotes, commas, markup, a newline and a byte that is not UTF-8.
      {{"--format", "csv", "storage", "test", "list"},
       "Name,Size,Mounted\r\n"
       "plain,100,false\r\n"
       "\"a \"\"quoted\"\", comma\",200,true\r\n"
       "\"<&> new\nline \xEF\xBF\xBD\",300,false\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first.front());
    RunResult r = Cli(c.first);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(c.second, r.out);
  }
}

}  // namespace
}  // namespace TarvexE2e

// The Markdown pieces of the command reference, on texts the live tree does
// not happen to hold.
#include "framework/shell/markdown.h"

#include <gtest/gtest.h>

namespace TarvexShell {
namespace {

TEST(MarkdownTest, ProseEscapesWhatWouldBecomeMarkup) {
  EXPECT_EQ(
      "\\<host/IP>:\\<strelnic> is \\*not\\* \\_emphasis\\_ or \\[a link\\](x) or \\`code\\` \\\\",
      Prose("<host/IP>:<strelnic> is *not* _emphasis_ or [a link](x) or `code` \\"));
  EXPECT_EQ("Plain text, 50% (MB/s) #1.", Prose("Plain text, 50% (MB/s) #1."));
}

TEST(MarkdownTest, CodeSpanFenceOutgrowsBackticksInside) {
  EXPECT_EQ("`--sec`", Code("--sec"));
  EXPECT_EQ("``a`b``", Code("a`b"));
  EXPECT_EQ("```a``b```", Code("a``b"));
  EXPECT_EQ("`` `x ``", Code("`x"));
}

TEST(MarkdownTest, AnchorsAsRenderersMakeThem) {
  EXPECT_EQ("storage-nfs41-add", Anchor("storage nfs41 add"));
  EXPECT_EQ("storage-kovra-snapshot_list", Anchor("Storage Kovra Snapshot_List"));
  EXPECT_EQ("a--b", Anchor("a (-b)"));
}

TEST(MarkdownTest, TidyDropsTrailingBlanksAndExtraNewlines) {
  EXPECT_EQ("a\n\nb\n", TidyMarkdown("a \t\n\nb  \n\n"));
  EXPECT_EQ("a\n", TidyMarkdown("a\n"));
}

}  // namespace
}  // namespace TarvexShell

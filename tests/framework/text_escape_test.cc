#include "framework/text_escape.h"

#include <gtest/gtest.h>

#include "framework/suggest.h"

namespace Cordra {
namespace Frame {
namespace {

const std::string kFFFD = "\xEF\xBF\xBD";

TEST(TextEscapeTest, InvalidUtf8BecomesReplacementCharacters) {
  // The least and the greatest code point of each lead byte's range stay.
  const std::string edges =
      "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  EXPECT_EQ(edges, SanitizeUtf8(edges));
  EXPECT_EQ("a" + kFFFD + "b", SanitizeUtf8("a\xFF"
                                            "b"));
  EXPECT_EQ(kFFFD + kFFFD, SanitizeUtf8("\xC0\xAF"));                          // overlong '/'
  EXPECT_EQ(kFFFD + kFFFD + kFFFD, SanitizeUtf8("\xED\xA0\x80"));              // surrogate
  EXPECT_EQ(kFFFD + kFFFD + kFFFD + kFFFD, SanitizeUtf8("\xF4\x90\x80\x80"));  // > U+10FFFF
  EXPECT_EQ("x" + kFFFD + kFFFD, SanitizeUtf8("x\xE2\x82"));  // truncated: one per byte
  EXPECT_EQ(kFFFD + "(", SanitizeUtf8("\xC3("));              // bad continuation
}

// The byte classes are checked a word at a time with a byte-wise tail:
// every byte, in the word part and in the tail, among neighbours at the
// edges of the plain range, gets the byte-wise answer.
TEST(TextEscapeTest, ByteClassesAgreeWithByteWiseRulesAnywhereInTheText) {
  for (const char filler : {'a', ' ', '~', '!'}) {
    for (const size_t at : {0, 5, 7, 8, 13, 16}) {
      for (int b = 0; b < 256; ++b) {
        std::string text(17, filler);
        text[at] = static_cast<char>(b);
        SCOPED_TRACE("byte " + std::to_string(b) + " at " + std::to_string(at));
        EXPECT_EQ(b < 0x80, IsAscii(text));
        EXPECT_EQ(b >= 0x20 && b < 0x7F, IsPrintableAscii(text));
        EXPECT_EQ(b >= 0x20 && b < 0x80 && b != '"' && b != '\\', IsPlainJsonText(text));
      }
    }
  }
}

// The rest of the escaping shows in the renderers' golden files.
TEST(TextEscapeTest, DeleteAndXmlForbiddenCharactersAndAttributes) {
  EXPECT_EQ("a\\x7F", DisplayText("a\x7F"));
  EXPECT_EQ(kFFFD + "|" + kFFFD, XmlEscape("\x01|\xEF\xBF\xBF", false));
  EXPECT_EQ("l1&#10;l2&#9;&quot;", XmlEscape("l1\nl2\t\"", true));
}

TEST(SuggestTest, NearestNameAllowsTyposButNotGuesses) {
  const std::vector<std::string> names = {"list", "mount", "unmount", "rescan"};
  EXPECT_EQ("list", NearestName("lst", names));
  EXPECT_EQ("rescan", NearestName("rescna", names));
  EXPECT_EQ("list", NearestName("ilst", names));       // a swap at the start is one edit too
  EXPECT_EQ("unmount", NearestName("umount", names));  // a tie: the one holding "umount"
  EXPECT_EQ("mounts", NearestName("mount", {"count", "mounts"}));
  EXPECT_EQ("", NearestName("delete", names));
  EXPECT_EQ("", NearestName("kov", {"kovra"}));  // two steps, beyond a typo of three letters
  EXPECT_EQ("volume-label", NearestName("volumelabel", {"volume-uuid", "volume-label"}));
  // Beyond typos, the names holding a word of three characters or more.
  EXPECT_EQ(std::vector<std::string>{"kovra"}, SuggestedNames("kov", {"nfs", "kovra"}));
  EXPECT_EQ(std::vector<std::string>{}, SuggestedNames("ko", {"nfs", "kovra"}));
}

}  // namespace
}  // namespace Frame
}  // namespace Cordra

// Manual pages (roff with the man(7) macros) for tarvexcli(1) and
// tarvex-host(1), written from what each program already knows about itself:
// its --help text, its command tree or table. Shared by both programs, so
// it depends on nothing of either.
#ifndef FRAMEWORK_MAN_PAGE_H_
#define FRAMEWORK_MAN_PAGE_H_

#include <string>
#include <vector>

namespace TarvexMan {

// `text` for running text: backslashes as \e, and a leading '.' or '\''
// guarded, so that no byte of it is read as a request.
std::string Text(const std::string& text);

// `text` as a literal (an option, a value, a command line): bold, each '-'
// a minus sign, so that it copies as typed.
std::string Literal(const std::string& text);

class ManPage {
 public:
  // The page of program `name` in section 1; `summary` is the NAME line's
  // text after the dash; `source` the package and its version.
  ManPage(const std::string& name, const std::string& summary, const std::string& source);

  // A section (.SH) or subsection (.SS); the title as given.
  void Section(const std::string& title);
  void Subsection(const std::string& title);
  // A filled paragraph of marked-up text (Text(), Literal()).
  void Paragraph(const std::string& marked);
  // A tagged paragraph: `term` above, `marked` indented below.
  void Item(const std::string& term, const std::string& marked);
  // Command lines as an example block, each exactly as typed.
  void Example(const std::vector<std::string>& lines);
  // Roff written as it is (the command reference's body).
  void Raw(const std::string& roff);

  // A program's plain --help text, block by block (blocks are separated by
  // blank lines): "Usage: ..." lines become the SYNOPSIS (at the top) or a
  // synopsis paragraph (`top` false); a "Heading:" line followed by indented
  // "TERM  text" lines becomes a section of tagged paragraphs (its
  // parenthesis, if any, a paragraph of its own); "TERM  text" lines alone
  // become tagged paragraphs; any other block one filled paragraph (the
  // first of them opening the DESCRIPTION at the top).
  void Help(const std::string& help, bool top);

  // The page: ends with a newline.
  const std::string& str() const { return text_; }

 private:
  // Tagged paragraphs from "TERM  text" lines and their continuations.
  void Items(const std::vector<std::string>& lines, size_t from);

  std::string text_;
  bool described_ = false;
};

}  // namespace TarvexMan

#endif  // FRAMEWORK_MAN_PAGE_H_

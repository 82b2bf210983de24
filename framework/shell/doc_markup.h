// The two forms of the command reference: Markdown (docs/commands.md) and
// roff for the manual page. The reference's text is written once, against
// this interface, so that the two never disagree.
#ifndef FRAMEWORK_SHELL_DOC_MARKUP_H_
#define FRAMEWORK_SHELL_DOC_MARKUP_H_

#include <string>
#include <vector>

namespace TarvexShell {

class DocMarkup {
 public:
  struct Entry {
    std::string text;              // marked up
    std::vector<std::string> sub;  // marked up, one level down
  };

  virtual ~DocMarkup() = default;

  // Inline pieces: running text, a literal, a reference to the node at
  // `path` shown as `name`.
  virtual std::string Prose(const std::string& text) const = 0;
  virtual std::string Code(const std::string& text) const = 0;
  virtual std::string Link(const std::string& name, const std::string& path) const = 0;

  // Blocks, each ending where the next may begin: a node's heading (level 2
  // a namespace, 3 a command), a paragraph, a bulleted list (with one level
  // of sub-items) and a numbered list.
  virtual std::string Heading(int level, const std::string& text) const = 0;
  virtual std::string Paragraph(const std::string& marked) const = 0;
  virtual std::string Bullets(const std::vector<Entry>& entries) const = 0;
  virtual std::string Numbered(const std::vector<std::string>& entries) const = 0;
};

// Markdown as docs/commands.md has it.
const DocMarkup& MarkdownMarkup();
// Roff (man(7)); headings of both levels are subsections.
const DocMarkup& RoffMarkup();

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_DOC_MARKUP_H_

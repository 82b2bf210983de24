// Small pieces of Markdown text for the command reference.
#ifndef FRAMEWORK_SHELL_MARKDOWN_H_
#define FRAMEWORK_SHELL_MARKDOWN_H_

#include <string>

namespace TarvexShell {

// `text` for a paragraph or a list item: the characters that would start
// emphasis, code, a link or HTML (\ ` * _ < [ ]) are escaped with '\'.
std::string Prose(const std::string& text);

// `text` as a code span, its fence longer than any run of backticks inside.
std::string Code(const std::string& text);

// The anchor a Markdown renderer gives a heading made of names and blanks:
// lower case, blanks as '-', other punctuation than '-' and '_' left out.
std::string Anchor(const std::string& heading);

// `text` without blanks at the ends of lines and with exactly one newline at
// the end (sections end in a blank line; the last one need not).
std::string TidyMarkdown(const std::string& text);

}  // namespace TarvexShell

#endif  // FRAMEWORK_SHELL_MARKDOWN_H_

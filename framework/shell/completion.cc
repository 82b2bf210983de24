#include "framework/shell/completion.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/output_fields.h"
#include "framework/param_text.h"
#include "framework/shell/completion_script.h"

namespace TarvexShell {

using Cordra::CallSpec::ParameterSpec;

namespace {

// Marks an option whose value is a file name.
const char kFileValue[] = "@file";

// The options whose value is a file name.
bool TakesFileName(const std::string& path, const ParameterSpec& param) {
  return path.empty() && param.GetName() == "store";
}

// Which options name an object of the host, and which kind of name (as
// `tarvexcli --complete-names` takes it): by the option's long name under a
// part of the tree. The first rule that matches wins, so the narrower paths
// come first; an empty kind is an option that takes a new name. Any other
// free value gets no suggestions.
struct NameRule {
  const char* under;  // a path and everything below it
  const char* option;
  const char* kind;
};

const NameRule kNameRules[] = {
    {"storage kovra snapshot", "volume-label", "snapshot-label"},
    {"storage kovra snapshot", "volume-uuid", "snapshot-uuid"},
    {"storage nfs add", "volume-name", ""},
    {"storage nfs41 add", "volume-name", ""},
    {"storage nfs", "volume-name", "nfs-name"},
    {"storage nfs41", "volume-name", "nfs41-name"},
    {"storage filesystem mount", "volume-label", "unmounted-label"},
    {"storage filesystem mount", "volume-uuid", "unmounted-uuid"},
    {"storage filesystem unmount", "volume-label", "mounted-label"},
    {"storage filesystem unmount", "volume-uuid", "mounted-uuid"},
    {"storage filesystem", "volume-label", "volume-label"},
    {"storage filesystem", "volume-uuid", "volume-uuid"},
    {"storage filesystem", "uuid", "volume-uuid"},
    {"storage filesystem", "volume-path", "mount-point"},
    {"storage", "volume-label", "kovra-label"},
    {"storage", "volume-uuid", "kovra-uuid"},
    {"storage", "strelnic", "strelnic"},
    {"", "on-host", "host"},
};

std::string HostNameKind(const std::string& path, const ParameterSpec& param) {
  for (const NameRule& rule : kNameRules) {
    const std::string under = rule.under;
    const bool below = path == under || path.compare(0, under.size() + 1, under + " ") == 0;
    if (below && param.GetName() == rule.option) return rule.kind;
  }
  return "";
}

// Words stand in the script between single quotes and reach compgen -W as a
// blank-separated list; bash also splits the word being completed at ':' and
// '=', so a value holding one would be offered wrongly. Returns `word`.
const std::string& PlainWord(const std::string& word, const std::string& what) {
  static const char kAllowed[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.,/+-";
  if (word.empty() || word.find_first_not_of(kAllowed) != std::string::npos) {
    throw std::invalid_argument("Cannot complete " + what + " '" + word +
                                "': not a plain word (letters, digits, _.,/+-)");
  }
  return word;
}

class WordTable {
 public:
  explicit WordTable(std::string comment) : comment_(std::move(comment)) {}

  // An entry whose words are already checked.
  void Add(const std::string& key, const std::string& words) { entries_.emplace_back(key, words); }

  // declare -gA NAME=( ['key']='words' ... ): global even when bash-completion
  // sources the script from within a function.
  std::string Declare(const std::string& name) const {
    std::string out = comment_ + "declare -gA " + name + "=(\n";
    for (const auto& entry : entries_) {
      out += "  ['" + entry.first + "']='" + entry.second + "'\n";
    }
    return out + ")\n";
  }

 private:
  std::string comment_;
  std::vector<std::pair<std::string, std::string>> entries_;
};

// The command's output fields for --fields, "|" between them, each
// character other than letters, digits and "_.,/+%-" escaped with '\\' as
// bash reads a word; "" when its result has none.
std::string FieldWords(Cordra::AutoCli::Command& command) {
  static const char kPlain[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_.,/+%-";
  Cordra::Frame::OutputFields fields;
  if (!Cordra::Frame::DescribeOutputFields(command, &fields)) return "";
  std::string words;
  for (const auto& field : fields.fields) {
    if (field.name.empty() || field.name.find_first_of("'|\n") != std::string::npos) {
      throw std::invalid_argument("Cannot complete the field '" + field.name +
                                  "': it holds a quote, '|' or a newline");
    }
    std::string name;
    for (char c : field.name) {
      if (std::string(kPlain).find(c) == std::string::npos) name += '\\';
      name += c;
    }
    words += (words.empty() ? "" : "|") + name;
  }
  return words;
}

std::string Join(const std::string& list, const std::string& word) {
  return list.empty() ? word : list + " " + word;
}

// The key of a node in the tables: the words that lead to it, the program
// first (bash refuses an empty key).
std::string Key(const std::string& path) {
  return path.empty() ? "tarvexcli" : "tarvexcli " + path;
}

// The words to offer as the value of `param`, which takes one: "" when any
// text goes.
std::string ValueWords(const std::string& path, const ParameterSpec& param) {
  if (param.GetType() == Cordra::CallSpec::PARAM_BOOL) return "true false";
  std::string words;
  auto choices = Cordra::Frame::ConstraintOf(param, Cordra::CallSpec::CONSTRAINT_STRING_ENUM);
  if (choices) {
    for (const auto& choice : choices->GetStringEnums()) {
      words = Join(words, PlainWord(choice.value, "the value of --" + param.GetName()));
    }
  } else if (TakesFileName(path, param)) {
    words = kFileValue;
  } else if (!HostNameKind(path, param).empty()) {
    words = "@host:" + HostNameKind(path, param);
  }
  return words;
}

// Adds the options of `spec` (the command at `path`, or the globals for
// "") to the tables and returns their words, long before short. `once` gets
// the options that may be given only once, as "--long|-s" groups.
std::string AddOptions(const std::string& path, const Cordra::CallSpec::InputSpec& spec,
                       WordTable* values, std::string* once) {
  std::string words;
  for (const auto& param : spec.GetParameters()) {
    if (!param) continue;
    if (param->GetType() != Cordra::CallSpec::PARAM_STRING_LIST) {
      std::string group = "--" + param->GetName();
      if (!param->GetShortName().empty()) group += "|-" + param->GetShortName();
      *once = Join(*once, group);
    }
    std::vector<std::string> names = {"--" +
                                      PlainWord(param->GetName(), "an option of '" + path + "'")};
    if (!param->GetShortName().empty()) {
      names.push_back("-" + PlainWord(param->GetShortName(), "an option of '" + path + "'"));
    }
    for (const auto& name : names) {
      words = Join(words, name);
      if (param->GetType() != Cordra::CallSpec::PARAM_FLAG) {
        values->Add(Key(path) + " " + name, ValueWords(path, *param));
      }
    }
  }
  return words;
}

}  // namespace

std::string BashCompletion(const std::vector<TreeEntry>& tree,
                           const Cordra::CallSpec::InputSpec& globals) {
  WordTable children("# The children of each namespace, keyed by the words that lead to it.\n");
  WordTable options(
      "\n# The options of each command; of the root, the global options; of any other\n"
      "# namespace, --help.\n");
  WordTable values(
      "\n# The options that take a value, keyed by the words that lead to them: the\n"
      "# values to offer, @file for a file name.\n");
  WordTable single(
      "\n# The options that may be given only once, as --long|-s groups: not offered\n"
      "# again once on the line. Of the root: the global options.\n");
  WordTable fields(
      "\n# The output fields of each command that has them, for --fields: '|' between\n"
      "# names, a blank in a name escaped as bash reads it.\n");
  std::string once;
  options.Add(Key(""), AddOptions("", globals, &values, &once));
  single.Add(Key(""), once);
  for (const auto& entry : tree) {
    if (entry.command) {
      auto spec = entry.command->GetInputSpec();
      std::string once;
      std::string words = spec ? AddOptions(entry.path, *spec, &values, &once) : "";
      options.Add(Key(entry.path), Join(words, "--help"));
      single.Add(Key(entry.path), once);
      std::string names = FieldWords(*entry.command);
      if (!names.empty()) {
        fields.Add(Key(entry.path), names);
        values.Add(Key(entry.path) + " --fields", "@fields");
      }
      continue;
    }
    std::string names;
    for (const auto& child : entry.node->GetChildren()) {
      names = Join(names, PlainWord(child.first, "a name in '" + entry.path + "'"));
    }
    children.Add(Key(entry.path), names);
    if (!entry.path.empty()) options.Add(Key(entry.path), "--help");
  }
  return kCompletionHeader + children.Declare("_tarvexcli_children") +
         options.Declare("_tarvexcli_options") + values.Declare("_tarvexcli_values") +
         single.Declare("_tarvexcli_once") + fields.Declare("_tarvexcli_fields") +
         kCompletionFunctions;
}

}  // namespace TarvexShell

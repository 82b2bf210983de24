#include "framework/shell/completion.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/param_text.h"

namespace TarvexShell {

using Cordra::CallSpec::ParameterSpec;

namespace {

// Marks an option whose value is a file name.
const char kFileValue[] = "@file";

// The options whose value is a file name; every other free value gets no
// suggestions.
bool TakesFileName(const std::string& path, const ParameterSpec& param) {
  return path.empty() && param.GetName() == "store";
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
  }
  return words;
}

// Adds the options of `spec` (the command at `path`, or the globals for
// "") to the tables and returns their words, long before short.
std::string AddOptions(const std::string& path, const Cordra::CallSpec::InputSpec& spec,
                       WordTable* values) {
  std::string words;
  for (const auto& param : spec.GetParameters()) {
    if (!param) continue;
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

const char kHeader[] =
    R"(# bash completion for tarvexcli. Generated from its command tree by
# `tarvexcli --generate-completion bash`: regenerate it instead of editing it.

)";

const char kFunctions[] = R"(
# Sets COMPREPLY to the words of $1 that begin with $2, each prefixed by $3.
_tarvexcli_offer() {
  if [[ $1 == @file ]]; then
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -P "$3" -f -- "$2")
  else
    mapfile -t COMPREPLY < <(compgen -P "$3" -W "$1" -- "$2")
  fi
}

_tarvexcli() {
  local cword=$COMP_CWORD cur=${COMP_WORDS[COMP_CWORD]-} path=tarvexcli word key i=1
  COMPREPLY=()
  # Global options, then the command path, then the command's options. bash
  # splits "--name=value" at the '=', so a value may follow a '=' word; it
  # splits a value at each ':' too ("/tmp/a:b"), and the pieces are one value.
  while ((i < cword)); do
    word=${COMP_WORDS[i++]-}
    if [[ $word == -* ]]; then
      key="$path $word"
      [[ -n ${_tarvexcli_values[$key]+set} ]] || continue
      [[ ${COMP_WORDS[i]-} == = ]] && ((i++))
      if ((i >= cword)); then
        [[ $cur == = ]] && cur=''
        _tarvexcli_offer "${_tarvexcli_values[$key]}" "$cur" ''
        return
      fi
      ((i++))
      while [[ ${COMP_WORDS[i]-} == : ]] && ((i < cword)); do ((i += 2)); done
      ((i > cword)) && return  # the cursor is inside that value
    elif [[ -z ${_tarvexcli_children[$path]+set} ]]; then
      continue  # a word after the command: the command refuses it
    elif [[ " ${_tarvexcli_children[$path]} " == *" $word "* ]]; then
      path+=" $word"
    else
      return  # not in the tree
    fi
  done
  if [[ $cur == --*=* ]]; then
    key="$path ${cur%%=*}"
    [[ -n ${_tarvexcli_values[$key]+set} ]] &&
      _tarvexcli_offer "${_tarvexcli_values[$key]}" "${cur#*=}" "${cur%%=*}="
  elif [[ -z ${_tarvexcli_children[$path]+set} ]]; then
    _tarvexcli_offer "${_tarvexcli_options[$path]-}" "${cur:---}" ''
  elif [[ $cur == -* ]]; then
    _tarvexcli_offer "${_tarvexcli_options[$path]-}" "$cur" ''
  else
    _tarvexcli_offer "${_tarvexcli_children[$path]}" "$cur" ''
  fi
}

complete -F _tarvexcli tarvexcli
)";

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
  options.Add(Key(""), AddOptions("", globals, &values));
  for (const auto& entry : tree) {
    if (entry.command) {
      auto spec = entry.command->GetInputSpec();
      std::string words = spec ? AddOptions(entry.path, *spec, &values) : "";
      options.Add(Key(entry.path), Join(words, "--help"));
      continue;
    }
    std::string names;
    for (const auto& child : entry.node->GetChildren()) {
      names = Join(names, PlainWord(child.first, "a name in '" + entry.path + "'"));
    }
    children.Add(Key(entry.path), names);
    if (!entry.path.empty()) options.Add(Key(entry.path), "--help");
  }
  return kHeader + children.Declare("_tarvexcli_children") + options.Declare("_tarvexcli_options") +
         values.Declare("_tarvexcli_values") + kFunctions;
}

}  // namespace TarvexShell

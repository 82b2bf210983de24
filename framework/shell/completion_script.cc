#include "framework/shell/completion_script.h"

namespace TarvexShell {

const char kCompletionHeader[] =
    R"(# bash completion for tarvexcli. Generated from its command tree by
# `tarvexcli --generate-completion bash`: regenerate it instead of editing it.

)";

const char kCompletionFunctions[] = R"sh(
# Prints the words of $1 less the options of the groups in $2 (--long|-s)
# that the line already holds before the cursor.
_tarvexcli_unused() {
  local words=" $1 " group name j
  for group in $2; do
    for ((j = 1; j < COMP_CWORD; j++)); do
      [[ "|$group|" == *"|${COMP_WORDS[j]}|"* ]] || continue
      for name in ${group//|/ }; do words=${words/ $name / }; done
      break
    done
  done
  printf '%s' "$words"
}

# Sets COMPREPLY to the words of $1 that begin with $2, each prefixed by $3.
# $1 may instead be @file (file names), @host:KIND (the host's names of that
# kind, from the store $4 names or else the default one) or @fields (the
# fields of the command at $5; the word is a comma-separated list).
_tarvexcli_offer() {
  local name prefix part
  local -a ask
  COMPREPLY=()
  case $1 in
    @file)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -P "$3" -f -- "$2")
      ;;
    @host:*)
      ask=(--complete-names "${1#@host:}")
      [[ -n $4 ]] && ask+=(--store "$4")
      while IFS= read -r name; do
        printf -v name '%q' "$name"
        [[ $name == "$2"* ]] && COMPREPLY+=("$3$name")
      done < <("${COMP_WORDS[0]}" "${ask[@]}" 2>/dev/null)
      ;;
    @fields)
      # Names match ignoring case, as --fields does; those before the last
      # comma stay as typed.
      [[ $2 == *,* ]] && prefix=${2%,*}, || prefix=''
      part=${2##*,}
      while IFS= read -r -d '|' name; do
        [[ ${name,,} == "${part,,}"* ]] && COMPREPLY+=("$3$prefix$name")
      done <<<"${_tarvexcli_fields[$5]-}|"
      compopt -o nospace 2>/dev/null
      ;;
    *)
      mapfile -t COMPREPLY < <(compgen -P "$3" -W "$1" -- "$2")
      ;;
  esac
}

_tarvexcli() {
  local cword=$COMP_CWORD cur=${COMP_WORDS[COMP_CWORD]-} path=tarvexcli word key store='' i=1
  COMPREPLY=()
  # The command path, then the command's options; global options anywhere.
  # bash splits "--name=value" at the '=', so a value may follow a '=' word
  # (of a long option only: the parser refuses "-n=value"); it splits a value
  # at each ':' too ("/tmp/a:b"), and the pieces are one value.
  while ((i < cword)); do
    word=${COMP_WORDS[i++]-}
    if [[ $word == -* ]]; then
      key="$path $word"
      [[ -n ${_tarvexcli_values[$key]+set} ]] || key="tarvexcli $word"
      [[ -n ${_tarvexcli_values[$key]+set} ]] || continue
      if [[ ${COMP_WORDS[i]-} == = ]]; then
        [[ $word == --* ]] || return
        ((i++))
      fi
      if ((i >= cword)); then
        [[ $cur == = ]] && cur=''
        _tarvexcli_offer "${_tarvexcli_values[$key]}" "$cur" '' "$store" "$path"
        return
      fi
      [[ $word == --store ]] && store=${COMP_WORDS[i]}
      ((i++))
      while [[ ${COMP_WORDS[i]-} == : ]] && ((i < cword)); do
        [[ $word == --store ]] && store+=":${COMP_WORDS[i + 1]-}"
        ((i += 2))
      done
      ((i > cword)) && return  # the cursor is inside that value
      [[ $store == '~/'* ]] && store=$HOME/${store#'~/'}
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
    [[ -n ${_tarvexcli_values[$key]+set} ]] || key="tarvexcli ${cur%%=*}"
    [[ -n ${_tarvexcli_values[$key]+set} ]] &&
      _tarvexcli_offer "${_tarvexcli_values[$key]}" "${cur#*=}" "${cur%%=*}=" "$store" "$path"
  elif [[ -z ${_tarvexcli_children[$path]+set} || $cur == -* ]]; then
    # A command's options (long ones only on an empty word), or those that
    # stand at a namespace; one that may be given once, only once.
    [[ -n ${_tarvexcli_children[$path]+set} ]] || cur=${cur:---}
    _tarvexcli_offer "$(_tarvexcli_unused "${_tarvexcli_options[$path]-}" \
      "${_tarvexcli_once[$path]-}")" "$cur" ''
  else
    _tarvexcli_offer "${_tarvexcli_children[$path]}" "$cur" ''
  fi
}

complete -F _tarvexcli tarvexcli
)sh";

}  // namespace TarvexShell

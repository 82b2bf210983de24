# Sourced by every transcript: the built programs first on PATH (the
# datastore agent too), and a default store of the transcript's own (cram
# runs each in a fresh directory).
export PATH="$TARVEX_BIN_DIR:$TARVEX_BIN_DIR/../libexec/tarvex:$PATH"
export XDG_STATE_HOME="$PWD/state"
unset TARVEX_HOST_STORE TARVEX_PLUGIN TARVEX_TEST_PLUGIN_FAIL

# The datastore agent's notifications, "EVENT INPUT" a line (raw bytes that
# JSON cannot carry as "base64:...").
events() {
  tarvex-host events --json | jq -r '.[] | "\(.event) \(.input // "base64:" + .input_base64)"'
}

# complete_line LINE: what bash's completion offers at the end of LINE,
# sorted, on one line (nothing when it offers nothing). LINE is split at blanks, a trailing blank starts an empty word;
# write '=' and ':' as words of their own, as bash splits them.
complete_line() {
  local line=$1 function
  local -a words
  if ! declare -F _tarvexcli >/dev/null; then
    . "$TARVEX_COMPLETION_DIR/tarvexcli"
    . "$TARVEX_COMPLETION_DIR/tarvex-host"
  fi
  # A blank after a backslash is part of the word, as in bash.
  read -ra words <<<"${line//\\ /$'\x1f'}"
  words=("${words[@]//$'\x1f'/\\ }")
  [[ $line == *' ' ]] && words+=('')
  COMP_WORDS=("${words[@]}")
  COMP_CWORD=$((${#words[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  function=$(complete -p "${words[0]}" | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
  "$function" "${words[0]}" "${words[COMP_CWORD]}" "${words[COMP_CWORD - 1]}"
  if ((${#COMPREPLY[@]})); then printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' '; fi
}

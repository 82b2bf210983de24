#!/usr/bin/env bash
# tarvexcli's generation modes as a packager runs them: their usage errors,
# and output that depends on neither the user's store nor the environment.
#
# Usage: generate_modes_test.sh TARVEXCLI
set -u
tarvexcli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect_usage ARGS... -- MESSAGE: exit 2, nothing on stdout, MESSAGE on stderr.
expect_usage() {
  local args=() message out err status
  while [[ $1 != -- ]]; do args+=("$1") && shift; done
  message=$2
  out=$("$tarvexcli" "${args[@]}" 2>"$tmp/err")
  status=$?
  err=$(<"$tmp/err")
  [[ $status == 2 && -z $out && $err == "$message" ]] ||
    fail "${args[*]}: status $status, stdout '$out', stderr '$err'"
}

expect_usage --generate-reference -- 'Usage: tarvexcli --generate-reference markdown'
expect_usage --generate-reference html -- 'Usage: tarvexcli --generate-reference markdown'
expect_usage --generate-completion bash zsh -- 'Usage: tarvexcli --generate-completion bash'
expect_usage --generate-completion=bash -- "Unknown option '--generate-completion'"
TARVEX_PLUGIN=$tmp/none.so expect_usage --generate-completion bash -- \
  "Cannot load plug-in $tmp/none.so: cannot open shared object file: No such file or directory"

# The same text whatever store the user has: none at all (and none is made),
# or a file that is no store (which a command would refuse with status 3).
printf 'not a store' >"$tmp/garbage.db"
mkdir "$tmp/home"
for mode in "--generate-completion bash" "--generate-reference markdown"; do
  env -u TARVEX_HOST_STORE -u XDG_STATE_HOME HOME="$tmp/home" \
    "$tarvexcli" $mode >"$tmp/plain" || fail "$mode exited $?"
  TARVEX_HOST_STORE=$tmp/garbage.db "$tarvexcli" $mode >"$tmp/garbage" ||
    fail "$mode with a bad store exited $?"
  cmp -s "$tmp/plain" "$tmp/garbage" || fail "$mode depends on the store"
  grep -q preunmountstate "$tmp/plain" || fail "$mode leaves out the NFS preunmountstate commands"
done
[[ -z $(ls -A "$tmp/home") ]] || fail "a store was made under HOME: $(ls -AR "$tmp/home")"
[[ $(<"$tmp/garbage.db") == 'not a store' ]] || fail "the bad store was changed"
TARVEX_HOST_STORE=$tmp/garbage.db "$tarvexcli" storage filesystem list >/dev/null 2>&1
[[ $? == 3 ]] || fail "a command on the bad store did not exit 3"

echo "$failures failed"
[[ $failures -eq 0 ]]

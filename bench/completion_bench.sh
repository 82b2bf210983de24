#!/usr/bin/env bash
# Benchmark, not a test: the time one Tab takes in the generated bash
# completion of tarvexcli, driven as bash drives it, for host names (one
# `tarvexcli --complete-names` process each) on the default host with and
# without a store, for --fields and for a command's options. Prints the mean
# over N Tabs of each.
#
# Usage: bench/completion_bench.sh [BUILD_DIR]   (default: build)
#        N=200 bench/completion_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
tabs=${N:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$build/bin:$PATH" XDG_STATE_HOME="$work/state"
unset TARVEX_HOST_STORE TARVEX_PLUGIN
source "$build/share/bash-completion/completions/tarvexcli"

tab() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tarvexcli
}

# time_tabs LABEL WORDS...: the mean time of one Tab, in milliseconds.
time_tabs() {
  local label=$1 start end i
  shift
  start=$(date +%s%N)
  for ((i = 0; i < tabs; i++)); do tab "$@" || true; done
  end=$(date +%s%N)
  printf '%-40s %6.2f ms per Tab (%d offered)\n' "$label" \
    "$(echo "($end - $start) / $tabs / 1000000" | bc -l)" "${#COMPREPLY[@]}"
}

time_tabs "volume labels, no store yet" tarvexcli storage filesystem unmount -l ''
tarvexcli storage filesystem list >/dev/null  # makes the default store
time_tabs "volume labels, default store" tarvexcli storage filesystem unmount -l ''
time_tabs "NFS v3 names, default store" tarvexcli storage nfs remove -v ''
time_tabs "fields after a comma" tarvexcli storage filesystem list --fields 'Volume\ Name,m'
time_tabs "options of a command" tarvexcli storage nfs41 add ''

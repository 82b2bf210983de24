#!/usr/bin/env bash
# Drives the bash completion of tarvexcli and tarvex-host as bash does: sets
# COMP_WORDS and COMP_CWORD for a command line, calls the function that the
# script registered with `complete -F`, and compares COMPREPLY (as a set).
#
# Usage: completion_test.sh TARVEXCLI_COMPLETION TARVEX_HOST_COMPLETION
set -u
export LC_ALL=C
source "$1" || exit 1
source "$2" || exit 1

checks=0
failures=0

# expect LINE WORDS: completing at the end of LINE offers exactly WORDS. LINE
# is split at blanks; a trailing blank starts a new, empty word. Write '=' as
# a word of its own, as bash splits "--name=value" (COMP_WORDBREAKS).
expect() {
  local line=$1 expected=$2 function got want
  local -a words
  read -ra words <<<"$line"
  [[ $line == *' ' ]] && words+=('')
  COMP_WORDS=("${words[@]}")
  COMP_CWORD=$((${#words[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  function=$(complete -p "${words[0]}" | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
  "$function" "${words[0]}" "${words[COMP_CWORD]}" "${words[COMP_CWORD - 1]}"
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ')
  want=$(printf '%s\n' $expected | sort | paste -sd' ')
  checks=$((checks + 1))
  if [[ $got != "$want" ]]; then
    echo "FAIL: '$line' offers '$got', expected '$want'"
    failures=$((failures + 1))
  fi
}

# tarvexcli: namespaces and commands, the feature-dependent ones included.
expect 'tarvexcli ' 'storage'
expect 'tarvexcli storage fi' 'filesystem'
expect 'tarvexcli storage nfs pre' 'preunmountstate'
expect 'tarvexcli storage nfs preunmountstate ' 'enter exit'
expect 'tarvexcli storage kovra snapshot extent ' 'list'
expect 'tarvexcli storage nfs -' '--help'
expect 'tarvexcli storage nosuch ' ''
# A command's options: long and short after '-', long ones on an empty word.
expect 'tarvexcli storage nfs41 add --s' '--sec --share'
expect 'tarvexcli storage nfs41 add -' \
  '--hosts -H --ispe -p --share -s --volume-name -v --readonly -r --sec -a --help'
expect 'tarvexcli storage nfs41 add ' \
  '--hosts --ispe --share --volume-name --readonly --sec --help'
expect 'tarvexcli storage nfs41 add --sec krb5 --hosts h1 --s' '--share'
# Values: an enumeration by either name, after '=', or glued to the option.
expect 'tarvexcli storage nfs41 add --sec ' 'sys krb5 krb5i'
expect 'tarvexcli storage nfs41 add -a k' 'krb5 krb5i'
expect 'tarvexcli storage nfs41 add --sec = ' 'sys krb5 krb5i'
expect 'tarvexcli storage nfs41 add --sec = krb5' 'krb5 krb5i'
expect 'tarvexcli storage nfs41 add --sec=krb' '--sec=krb5 --sec=krb5i'
expect 'tarvexcli storage kovra reclaim config set --reclaim-priority ' 'none low medium high'
expect 'tarvexcli storage internal clusteredkadisk set --enabled ' 'true false'
expect 'tarvexcli storage internal clusteredkadisk set -e t' 'true'
# Free values get no suggestions; flags take no value.
expect 'tarvexcli storage nfs41 add --share ' ''
expect 'tarvexcli storage nfs41 add --readonly --v' '--volume-name'
# Global options, with their values, before the command path only.
expect 'tarvexcli --fo' '--format'
expect 'tarvexcli -' '--format --fields --no-header --store --help -h --version'
expect 'tarvexcli --format ' 'table simple json csv xml'
expect 'tarvexcli --format = j' 'json'
expect 'tarvexcli --fields ' ''
expect 'tarvexcli --no-header --format json --fields Name st' 'storage'
expect 'tarvexcli --format=csv storage nfs41 add --sec ' 'sys krb5 krb5i'
# bash also splits a value at ':' (written as a word of its own here): the
# pieces are one value, and nothing is offered inside it.
expect 'tarvexcli --store /tmp/a : b : c storage ' 'internal filesystem nfs nfs41 kovra'
expect 'tarvexcli --store /tmp/a : s' ''
expect 'tarvexcli storage --' '--help'
expect 'tarvexcli storage --fo' ''
store_dir=$(mktemp -d)
trap 'rm -rf "$store_dir"' EXIT
touch "$store_dir/host.db"
# File names for --store, completed in a directory of our own.
in_store_dir() { (cd "$store_dir" && failures=0 && expect "$@" && exit "$failures"); }
in_store_dir 'tarvexcli --store ho' 'host.db' || failures=$((failures + 1))
in_store_dir 'tarvexcli --store = ho' 'host.db' || failures=$((failures + 1))
checks=$((checks + 2))

# tarvex-host: subcommands, their actions and options, --store anywhere.
expect 'tarvex-host ' 'init dump restart fault feature events'
expect 'tarvex-host -' '--store --help --version'
expect 'tarvex-host --store /tmp/h.db f' 'fault feature'
expect 'tarvex-host init -' '--fixture --force --store --help'
expect 'tarvex-host fault ' 'add list clear'
expect 'tarvex-host fault add --' '--operation --object --message --nth --times --store --help'
expect 'tarvex-host fault add --operation ' ''
expect 'tarvex-host feature ' 'list set'
expect 'tarvex-host --store = /tmp/h.db feature set 284 ' 'on off'
expect 'tarvex-host --store /tmp/a : b.db feature set 284 ' 'on off'
expect 'tarvex-host --store /tmp/a : f' ''
expect 'tarvex-host feature set ' ''
expect 'tarvex-host events -' '--json --clear --store --help'
expect 'tarvex-host restart ' ''
in_store_dir 'tarvex-host init --fixture h' 'host.db' || failures=$((failures + 1))
in_store_dir 'tarvex-host --store = ' 'host.db' || failures=$((failures + 1))
checks=$((checks + 2))

echo "$checks checks, $failures failed"
[[ $failures -eq 0 ]]

The bash completion of tarvexcli and tarvex-host, driven as bash drives it
(complete_line in setup.sh): namespaces, commands, options and values.

  $ . "$TESTDIR/setup.sh"

tarvexcli: namespaces and commands, the feature-dependent ones included.

  $ complete_line 'tarvexcli '
  storage
  $ complete_line 'tarvexcli storage fi'
  filesystem
  $ complete_line 'tarvexcli storage nfs pre'
  preunmountstate
  $ complete_line 'tarvexcli storage nfs preunmountstate '
  enter exit
  $ complete_line 'tarvexcli storage kovra snapshot extent '
  list
  $ complete_line 'tarvexcli storage nfs -'
  --help
  $ complete_line 'tarvexcli storage nosuch '

A command's options: long and short after '-', long ones on an empty word,
also after other options; a whole option under the cursor is not yet given.

  $ complete_line 'tarvexcli storage nfs41 add --s'
  --sec --share
  $ complete_line 'tarvexcli storage nfs41 add -'
  --help --hosts --ispe --readonly --sec --share --volume-name -H -a -p -r -s -v
  $ complete_line 'tarvexcli storage nfs41 add '
  --help --hosts --ispe --readonly --sec --share --volume-name
  $ complete_line 'tarvexcli storage nfs41 add --sec krb5 --hosts h1 --s'
  --share
  $ complete_line 'tarvexcli storage nfs41 add --sec'
  --sec

Values: an enumeration by either name, after '=' (a word of its own, as
bash splits it) or glued to the option; booleans; nothing for free values,
and flags take none.

  $ complete_line 'tarvexcli storage nfs41 add --sec '
  krb5 krb5i sys
  $ complete_line 'tarvexcli storage nfs41 add -a k'
  krb5 krb5i
  $ complete_line 'tarvexcli storage nfs41 add --sec = '
  krb5 krb5i sys
  $ complete_line 'tarvexcli storage nfs41 add --sec = krb5'
  krb5 krb5i
  $ complete_line 'tarvexcli storage nfs41 add --sec=krb'
  --sec=krb5 --sec=krb5i
  $ complete_line 'tarvexcli storage kovra reclaim config set --reclaim-priority '
  high low medium none
  $ complete_line 'tarvexcli storage internal clusteredkadisk set --enabled '
  false true
  $ complete_line 'tarvexcli storage internal clusteredkadisk set -e t'
  true
  $ complete_line 'tarvexcli storage nfs41 add --share '
  $ complete_line 'tarvexcli storage nfs41 add --readonly --v'
  --volume-name

Global options and their values, before the command path.

  $ complete_line 'tarvexcli --fo'
  --format
  $ complete_line 'tarvexcli -'
  --dry-run --fields --format --help --no-header --on-host --store --version -h
  $ complete_line 'tarvexcli --format '
  csv json simple table xml
  $ complete_line 'tarvexcli --format = j'
  json
  $ complete_line 'tarvexcli --fields '
  $ complete_line 'tarvexcli --no-header --format json --fields Name st'
  storage
  $ complete_line 'tarvexcli --format=csv storage nfs41 add --sec '
  krb5 krb5i sys

bash also splits a value at ':' (a word of its own here): the pieces are one
value, and nothing is offered inside it. File names for --store.

  $ complete_line 'tarvexcli --store /tmp/a : b : c storage '
  filesystem internal kovra nfs nfs41
  $ complete_line 'tarvexcli --store /tmp/a : s'
  $ touch host.db
  $ complete_line 'tarvexcli --store ho'
  host.db
  $ complete_line 'tarvexcli --store = ho'
  host.db

tarvex-host: commands, their actions and options, --store anywhere.

  $ complete_line 'tarvex-host '
  device dump events fault feature host init restart
  $ complete_line 'tarvex-host -'
  --dry-run --help --on-host --store --version
  $ complete_line 'tarvex-host --store /tmp/h.db f'
  fault feature
  $ complete_line 'tarvex-host init -'
  --fixture --force --help --hosts --store
  $ complete_line 'tarvex-host host '
  add boot crash list remove
  $ complete_line 'tarvex-host host add -'
  --help --no-ats-only --on-host --store
  $ complete_line 'tarvex-host fault '
  add clear list
  $ complete_line 'tarvex-host fault add --'
  --help --message --nth --object --on-host --operation --store --times
  $ complete_line 'tarvex-host feature '
  list set
  $ complete_line 'tarvex-host --store = /tmp/h.db feature set 284 '
  off on
  $ complete_line 'tarvex-host --store /tmp/a : b.db feature set 284 '
  off on
  $ complete_line 'tarvex-host --store /tmp/a : f'
  $ complete_line 'tarvex-host feature set '
  $ complete_line 'tarvex-host events -'
  --clear --help --json --on-host --store
  $ complete_line 'tarvex-host restart '
  $ complete_line 'tarvex-host init --fixture h'
  host.db
  $ complete_line 'tarvex-host --store = '
  host.db

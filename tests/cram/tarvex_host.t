tarvex-host and the stand-in datastore agent as a user runs them: help,
usage errors, fixtures, features, faults and the agent's notifications.

  $ . "$TESTDIR/setup.sh"

  $ tarvex-host --version
  tarvex-host 0.1.0
  $ tarvex-host --help | sed -n '1p;/^  events/p'
  Usage: tarvex-host [--store PATH] [--on-host NAME] [--dry-run[=json]] COMMAND [OPTIONS]
    events    show or clear the datastore agent's notifications
  $ tarvex-host fault add --help | head -1
  Usage: tarvex-host [--store PATH] fault add --operation OP [--object NAME]

Usage errors: status 2, one line, and no store is made.

  $ h() { tarvex-host --store u.db "$@"; }
  $ h
  tarvex-host: a command is required (see --help)
  [2]
  $ h frobnicate
  tarvex-host: unknown command 'frobnicate' (see --help)
  [2]
  $ h $'bad\x01\x7f'
  tarvex-host: unknown command 'bad\x01\x7f' (see --help)
  [2]
  $ h --bogus dump
  tarvex-host: unknown option '--bogus'
  [2]
  $ h --on-host
  tarvex-host: option '--on-host' needs a value
  [2]
  $ h --on-host= dump
  tarvex-host: option '--on-host' needs a name
  [2]
  $ h init --force=yes
  tarvex-host init: option '--force' takes no value
  [2]
  $ h init --fixture=missing.json
  tarvex-host: missing.json: cannot read the fixture: No such file or directory
  [1]
  $ h dump extra
  tarvex-host dump: unexpected argument 'extra'
  [2]
  $ for c in restart 'fault list' 'fault clear' 'feature list' events init; do h $c extra; done
  tarvex-host restart: unexpected argument 'extra'
  tarvex-host fault list: unexpected argument 'extra'
  tarvex-host fault clear: unexpected argument 'extra'
  tarvex-host feature list: unexpected argument 'extra'
  tarvex-host events: unexpected argument 'extra'
  tarvex-host init: unexpected argument 'extra'
  [2]
  $ h fault add --operation Mount --message disk gone
  tarvex-host fault add: unexpected argument 'gone'
  [2]
  $ h init --forse
  tarvex-host init: unknown option '--forse'
  [2]
  $ h init --fixture
  tarvex-host init: option '--fixture' needs a value
  [2]
  $ h fault add --operation Mount
  tarvex-host fault add: --message is required
  [2]
  $ h fault add --operation Mounts --message m
  tarvex-host fault add: unknown operation 'Mounts': did you mean 'Mount'?
  [2]
  $ h fault add --operation Umount --message m
  tarvex-host fault add: unknown operation 'Umount': did you mean 'Unmount'?
  [2]
  $ h fault add --operation Mount --message m --nth -1
  tarvex-host fault add: invalid value '-1' for --nth: expected a whole number from 0
  [2]
  $ h feature set 145 maybe
  tarvex-host feature set: expected a feature number and on or off
  [2]
  $ h feature set abc on
  tarvex-host feature set: invalid value 'abc' for the feature number: expected a whole number from 0
  [2]
  $ h feature set 4294967296 on
  tarvex-host feature set: feature number too large
  [2]
  $ h events --clear --json
  tarvex-host events: --clear prints nothing, drop --json
  [2]
  $ ls

A fixture loads, dumps back as it was loaded, and replaces a store only with
--force; `init --force` alone brings back the default host.

  $ tarvex-host dump | jq '.host = "hvx-lab-02.example.test"' > host.json
  $ tarvex-host init --force --fixture host.json
  $ tarvex-host dump > dumped.json
  $ jq -r .host dumped.json
  hvx-lab-02.example.test
  $ tarvex-host init --fixture dumped.json 2>&1 | sed "s|$PWD|.|"
  tarvex-host: ./state/tarvex/host.db: a store is there already; use --force to replace it
  $ tarvex-host init --fixture dumped.json 2>/dev/null
  [1]
  $ tarvex-host init --force --fixture dumped.json
  $ tarvex-host dump | cmp - dumped.json
  $ tarvex-host init --force
  $ tarvex-host dump | jq -r .host
  hvx-lab-01.example.test

A command other than init concerns the host --on-host or TARVEX_HOST names,
which the store must have; init makes the store and takes none. The agent
records for the host TARVEX_HOST names.

  $ tarvex-host dump --on-host=hvx-lab-01.example.test | jq -r .host
  hvx-lab-01.example.test
  $ TARVEX_HOST=nowhere tarvex-host events
  tarvex-host: unknown host 'nowhere' (the store has: hvx-lab-01.example.test)
  [2]
  $ tarvex-host --on-host hvx-lab-01 feature list
  tarvex-host: unknown host 'hvx-lab-01': did you mean 'hvx-lab-01.example.test'?
  [2]
  $ tarvex-host init --on-host hvx-lab-01.example.test
  tarvex-host init: option '--on-host' does not apply: init makes the store
  [2]
  $ tarvex-host --on-host a --on-host b dump
  tarvex-host: option '--on-host' given twice
  [2]
  $ echo x | TARVEX_HOST=nowhere notifyDatastore -t PreUnmount -i stdin
  notifyDatastore: unknown host 'nowhere'
  [2]

The store may be given as --store=PATH too, anywhere on the line.

  $ tarvex-host init --store=eq.db && ls eq.db
  eq.db

A fixture that cannot be loaded names the place and writes nothing.

  $ tarvex-host dump | jq '.volumes[2].kovra.lock_mode = true' > bad.json
  $ tarvex-host --store new.db init --fixture bad.json
  tarvex-host: bad.json: /volumes/2/kovra/lock_mode: expected an integer, got a boolean
  [1]
  $ ls new.db
  ls: cannot access 'new.db': No such file or directory
  [2]
  $ cp state/tarvex/host.db before.db
  $ tarvex-host init --force --fixture bad.json 2>/dev/null
  [1]
  $ cmp state/tarvex/host.db before.db
  $ tarvex-host init --force --fixture none.json
  tarvex-host: none.json: cannot read the fixture: No such file or directory
  [1]
  $ mkdir dir.json
  $ tarvex-host init --force --fixture dir.json
  tarvex-host: dir.json: cannot read the fixture: Is a directory
  [1]

Features: a number the host does not know is listed without a name.

  $ tarvex-host feature set 284 off
  $ tarvex-host feature set 7 on
  $ tarvex-host feature list
  NUMBER  STATE  FEATURE
  7       on     
  145     on     NAS strelnic binding
  284     off    NAS preunmount

A host whose fixture names no feature lists the two the commands know, off.

  $ tarvex-host dump | jq '.features = {}' > plain.json
  $ tarvex-host --store plain.db init --fixture plain.json
  $ tarvex-host --store plain.db feature list
  NUMBER  STATE  FEATURE
  145     off    NAS strelnic binding
  284     off    NAS preunmount

A fault armed by the tool fires in the next tarvexcli, on the object named,
as many times as asked.

  $ tarvex-host fault add --operation GetCapacity --object 60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3 --message "no answer" --times 1
  $ tarvex-host fault list
  OPERATION    OBJECT                               NTH  TIMES  CALLS  FIRED  MESSAGE
  GetCapacity  60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3  0    1      0      0      no answer
  $ tarvexcli storage filesystem list -u 60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3 >/dev/null
  Error getting data for filesystem on '/kovra/volumes/60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3': no answer, skipping.
  [1]
  $ tarvexcli storage filesystem list -u 60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3 | tail -1
  /kovra/volumes/60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3  datastore2   60a2b4c6-1d3e5f70-2a4b-027a3ea1b2c3  true     Kovra-6  2199023255552  1319413953332
  $ tarvex-host fault list | awk 'NR > 1 { print $6 }'
  1
  $ tarvex-host fault clear
  $ tarvex-host fault list
  No faults are armed.

The agent keeps the exact bytes of its standard input; `events` shows them
escaped, --json as base64 where JSON cannot carry them.

  $ printf 'ds1,ds2\n"quoted"\t\\ \0end\377' | notifyDatastore -t PreUnmount -i stdin
  $ notifyDatastore -i stdin -t FailedUnmount </dev/null
  $ tarvex-host events
  \d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ  PreUnmount  "ds1,ds2\\n\\"quoted\\"\\t\\\\ \\x00end\\xff" (re)
  \d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ  FailedUnmount  "" (re)
  $ tarvex-host events --json | jq -c '.[] | [.event, .input, .input_base64]'
  ["PreUnmount",null,"ZHMxLGRzMgoicXVvdGVkIglcIABlbmT/"]
  ["FailedUnmount","",null]
  $ tarvex-host dump | jq -c '.events | map(.input_base64)'
  ["ZHMxLGRzMgoicXVvdGVkIglcIABlbmT/",null]
  $ tarvex-host events --clear
  $ tarvex-host events

Input that is text up to the last character before the surrogates is kept
as text; a surrogate's bytes, the last one's too, are kept as base64.

  $ printf '\355\237\277' | notifyDatastore -t A -i stdin
  $ printf '\355\277\277' | notifyDatastore -t B -i stdin
  $ tarvex-host events --json | jq -c '.[] | [(.input | length), .input_base64]'
  [1,null]
  [0,"7b+/"]
  $ tarvex-host events --json | head -2
  [
    {
  $ tarvex-host events --clear

The agent's own usage errors.

  $ echo x | notifyDatastore -i stdin
  notifyDatastore: an event (-t) and '-i stdin' are required
  usage: notifyDatastore -t EVENT -i stdin
  [2]
  $ echo x | notifyDatastore -t PreUnmount -i file 2>/dev/null
  [2]
  $ echo x | notifyDatastore -t A -i stdin -x
  notifyDatastore: unexpected argument '-x'
  usage: notifyDatastore -t EVENT -i stdin
  [2]

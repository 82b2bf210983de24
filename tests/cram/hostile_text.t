Hostile text through the binaries, as a user would pass it: names as long as
an argument can be, bytes that are not UTF-8, NUL bytes, shell syntax. Every
format stays well formed, the host keeps the exact bytes, and the datastore
agent hears the exact bytes on its standard input and runs nothing.

  $ . "$TESTDIR/setup.sh"
  $ well_formed() {  # ARGS...: every format of `tarvexcli ARGS` parses, exit 0, no stderr
  >   for format in json xml csv table simple; do
  >     tarvexcli --format $format "$@" > out.$format 2>err || echo "$format: exit $?"
  >     [ -s err ] && echo "$format: $(head -c 200 err)"
  >     iconv -f UTF-8 -t UTF-8 out.$format >/dev/null || echo "$format: not UTF-8"
  >   done
  >   jq -e 'length >= 0' out.json >/dev/null || echo "json: does not parse"
  >   xmllint --noout out.xml || echo "xml: does not parse"
  > }

The longest argument Linux passes (128 KiB less its NUL) is a name like any
other: added, listed, unmounted and removed as it is; so is a host list that
long.

  $ name=$(seq 100000 | tr -d '\n' | head -c 131071)
  $ share=/$(seq 200000 300000 | tr -d '\n' | head -c 131070)
  $ tarvexcli storage nfs add -H 192.0.2.10 -s "$share" -v "$name"
  true
  $ well_formed storage nfs list
  $ jq --arg n "$name" --arg s "$share" 'map(select(."Volume Name" == $n and .Share == $s)) | length' out.json
  1
  $ tarvexcli storage filesystem unmount -l "$name"
  true
  $ tarvexcli storage nfs remove -v "$name"
  true
  $ events | while read -r event input; do echo "$event ${#input} $([ "$input" = "$name" ] && echo same)"; done
  PreUnmount 131071 same
  PreUnmount 131071 same
  $ hosts=$(for i in $(seq 9000); do printf '192.0.2.%d,' $((i % 250)); done | head -c 131071)
  $ hosts=${hosts%,*}
  $ tarvexcli storage nfs41 add -H "$hosts" -s /s -v many
  true
  $ tarvexcli --format json storage nfs41 list | jq --arg h "$hosts" 'map(select(.["Host(s)"] == $h)) | .[]."Volume Name"'
  "many"
  $ tarvex-host events --clear

Names that are not UTF-8 are refused by the host (on stderr, as in every
format for people, the bad byte shows as U+FFFD); the agent hears the raw
bytes, which JSON keeps as base64.

  $ tarvexcli storage nfs add -H 192.0.2.10 -s /s -v $'bad\xff'
  Cannot add NFS volume 'bad\xef\xbf\xbd': the volume name is not UTF-8 (esc)
  [1]
  $ tarvexcli --format json storage nfs list | jq 'map(select(."Volume Name" | startswith("bad"))) | length'
  0
  $ tarvexcli storage nfs remove -v $'gone\xff\x01'
  Cannot remove NFS volume 'gone\xef\xbf\xbd\\x01': no volume has that name (esc)
  [1]
  $ events
  PreUnmount base64:Z29uZf8B
  FailedUnmount base64:Z29uZf8B
  $ tarvex-host dump | jq -c '.events | map(.input_base64)'
  ["Z29uZf8B","Z29uZf8B"]
  $ tarvex-host events --clear

NUL bytes from a fixture stay intact, or visible: JSON \u0000, the table
\x00, XML U+FFFD; the agent hears them exactly.

  $ cat > nul.json <<'JSON'
  > {"format": 1, "nfs_servers": [{"address": "192.0.2.10"}],
  >  "volumes": [{"type": "NFS", "name": "nul\u0000name <&>\u0001\u007f", "uuid": "a0b1c2d3-e4f5a6b7",
  >               "nfs": {"hosts": ["192.0.2.10"], "share": "/s\u0000"}}]}
  > JSON
  $ tarvex-host init --force --fixture nul.json
  $ well_formed storage nfs list
  $ jq -c '.[] | [."Volume Name", .Share]' out.json
  ["nul\u0000name <&>\u0001\u007f","/s\u0000"]
  $ sed -n 3p out.table
  nul\x00name <&>\x01\x7F  192.0.2.10  /s\x00  true        true     false      false  Unknown
  $ grep -o 'nul.*name &lt;&amp;&gt;[^<]*' out.xml
  nul\xef\xbf\xbdname &lt;&amp;&gt;\xef\xbf\xbd\x7f (esc)
  $ tarvexcli storage filesystem unmount -u a0b1c2d3-e4f5a6b7
  true
  $ tarvex-host events --json | jq -c 'map(.input)'
  ["nul\u0000name <&>\u0001\u007f"]
  $ tarvex-host init --force

Names full of shell syntax reach the agent as data on its standard input
through every command that notifies it; nothing of them is ever run.

  $ names=('$(touch ran1)' '`touch ran2`' 'a;touch ran3' 'b|touch ran4 &'
  >        $'c\' "d" \\e * ? ~ < > >> #{} [x] !!\n$HOME\t%s%n')
  $ for name in "${names[@]}"; do
  >   tarvexcli storage nfs add -H 192.0.2.10 -s "/$name" -v "$name" &&
  >   tarvexcli storage filesystem unmount -l "$name" &&
  >   tarvexcli storage filesystem mount -l "$name" &&
  >   tarvexcli storage nfs remove -v "$name" &&
  >   tarvexcli storage nfs41 add -H 192.0.2.10 -s "/$name" -v "$name" &&
  >   tarvexcli storage nfs41 remove -v "$name" &&
  >   tarvexcli storage nfs remove -v "$name" 2>/dev/null
  >   echo "exit $?"
  > done | sort | uniq -c
        5 exit 1
       30 true
  $ tarvex-host events --json > events.json
  $ for name in "${names[@]}"; do
  >   for event in PreUnmount PreUnmount PreUnmount PreUnmount FailedUnmount; do
  >     jq -n --arg e $event --arg i "$name" '{event: $e, input: $i}'
  >   done
  > done | jq -s . | jq -e --slurpfile got events.json '. == ($got[0] | map({event, input}))'
  true
  $ ls ran* 2>/dev/null
  [2]

Every byte value but NUL (which no argument can hold), and sequences that
are malformed only together, as names through the test plug-in: every
format stays well formed and valid UTF-8.

  $ args=()
  $ for byte in $(seq 1 255); do args+=(-n "<$(printf "\\x$(printf %x $byte)")>"); done
  $ for sequence in '\xc0\xaf' '\xed\xa0\x80' '\xed\xbf\xbf' '\xf4\x90\x80\x80' '\xe2\x82x' '\xef\xbf\xbe' '\xef\xbf\xbf' '\xf0\x9f\x98'; do
  >   args+=(-n "$(printf "$sequence")")
  > done
  $ TARVEX_PLUGIN=$TARVEX_TEST_PLUGIN well_formed storage test list "${args[@]}"
  $ jq -r 'length, .[64].Name' out.json
  263
  <A>
  $ xmllint --xpath 'count(/output/list/structure)' out.xml
  263

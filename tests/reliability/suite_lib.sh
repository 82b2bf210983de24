# shellcheck shell=bash
# Shared by crash_suite.sh and concurrency_suite.sh (sourced, not run).
#
# The suites describe the host by "key=value" lines, one per thing a
# mutating command can change:
#   vol:NAME=mounted|unmounted|absent   a volume the suite made
#   reclaim:NAME=GRANULARITY/PRIORITY   a Kovra volume's reclamation settings
#   lock:NAME=FLAGS                     a Kovra volume's locking mode
#   feature:N=true|false                a feature-table entry
# and, with RELY_NAS_SETTINGS=1 (the crash suite), for each NAS volume:
#   nas:NAME=ro|rw/pe|notpe             read-only, protocol endpoint
#   param:NAME=QUEUE_DEPTH/STRELNIC     its queue depth, the strelnic it is set to use
#   preunmount:NAME=true|false          in the preunmount state (NFS v3)
# and, with RELY_HOST_STATE=1 (the crash suite, which also gets a richer
# fixture), the rest of what its commands change:
#   vol:NAME, version:NAME, clustered:NAME, reclaimed:NAME   Kovra volumes too;
#                                       a resignatured volume is named
#                                       "resig-LABEL" (its hex part is random)
#   snap:LABEL=unresolved               an unresolved snapshot
#   pbcache=WORKING_SET_MAX/MISS_RATIO  what a statistics reset changes
#   restores=N                          boot-time multipath restores
#   faults=OPERATION@OBJECT,...         the armed faults ("" none)
#   events=N                            the datastore agent's notifications
# and, on a store of several hosts (rely_hosts), a host's own keys end in
# "@HOST" (vol:NAME@HOST also for its views of Kovra volumes, events@HOST,
# ...), beside the SAN's and host:HOST=up|down and
#   slot:NAME@HOST=alive|dead/MODE      its heartbeat slot and its lock mode
# A suite keeps the value each key must have (after the commands that
# reported success) and compares it with what the store holds.

# rely_options "USAGE" NAME... -- ARGS...: sets the variable NAME (dashes
# as underscores) for each "--NAME VALUE" in ARGS; exits 2 with USAGE on
# anything else, on a missing value or without --bin. Then rely_init_tools.
rely_options() {
  local usage="usage: $0 $1" allowed=" " name
  shift
  while [[ "$1" != -- ]]; do allowed+="$1 " && shift; done
  shift
  while (($#)); do
    name="${1#--}"
    [[ "$1" == --* && "$allowed" == *" $name "* ]] || { echo "$usage" >&2; exit 2; }
    (($# >= 2)) || { echo "error: $1 needs a value" >&2; exit 2; }
    printf -v "${name//-/_}" '%s' "$2"
    shift 2
  done
  [[ -n "$bin" ]] || { echo "$usage" >&2; exit 2; }
  rely_init_tools "$bin"
  rely_hosts "${hosts:-1}"
}

# rely_hosts N: HOSTS, the names of a cluster of N hosts (none for one host,
# whose store is as it always was); exits 2 unless N is 1 to 26.
rely_hosts() {
  [[ "$1" =~ ^([1-9]|1[0-9]|2[0-6])$ ]] || { echo "error: --hosts takes 1 to 26" >&2; exit 2; }
  HOSTS=()
  (($1 > 1)) && mapfile -t HOSTS < <(printf 'host-%s\n' {a..z} | head -n "$1")
  RELY_CLUSTER="${HOSTS[*]}"
  export RELY_CLUSTER
}

# rely_init STORE FIXTURE: makes the store, a cluster of HOSTS if any.
rely_init() {
  local names=()
  ((${#HOSTS[@]})) && names=(--hosts "$(IFS=,; echo "${HOSTS[*]}")")
  "$HOST_TOOL" --store "$1" init --fixture "$2" "${names[@]}"
}

# rely_on HOST: sets ON, the option that runs a command on HOST, and AT, the
# suffix of its keys (both empty for the one host of a store).
# shellcheck disable=SC2034  # for the suites
rely_on() {
  ON=() AT=""
  [[ -n "$1" ]] && ON=(--on-host "$1") AT="@$1"
}

# rely_init_tools BIN_DIR: sets CLI and HOST_TOOL, checks the helpers exist.
rely_init_tools() {
  CLI="$1/tarvexcli"
  HOST_TOOL="$1/tarvex-host"
  local tool
  for tool in "$CLI" "$HOST_TOOL"; do
    [[ -x "$tool" ]] || { echo "error: $tool is not built" >&2; exit 2; }
  done
  for tool in jq sqlite3; do
    command -v "$tool" > /dev/null || { echo "error: $tool is needed (apt-get install $tool)" >&2; exit 2; }
  done
}

# rely_fixture KOVRA_NAMES...: a small host with one NFS server, one ATS
# device and a Kovra-6 volume of each name (no other users, so that locking
# mode changes complete at once). Both NAS feature switches are off: an
# `nfs add` whose mount fails is rolled back. With RELY_HOST_STATE=1 it also
# has four Kovra-3 volumes (kv3-0 to kv3-3) to upgrade, one Kovra volume a
# rescan discovers (kv-late), 40 unresolved snapshots (snap-0 to snap-39)
# and pointer-block cache statistics that a reset changes; RELY_SNAPSHOTS
# sets how many snapshots either way.
rely_fixture() {
  local snapshots="${RELY_SNAPSHOTS:-${RELY_HOST_STATE:+40}}"
  jq -n --arg full "${RELY_HOST_STATE:-}" --argjson snapshots "${snapshots:-0}" --args '{
    format: 1, host: "reliability",
    features: {"145": false, "284": false},
    devices: [{name: "naa.rely0", ats: true, attached: true}],
    strelnics: ["tvn0", "tvn1"],
    nfs_servers: [{address: "192.0.2.10", reachable: true}],
    volumes: [$ARGS.positional | to_entries[] | {
      type: "Kovra", name: .value,
      uuid: ("5f1e2d3c-8a7b6c5d-1e2f-" + ("000000000000" + (.key | tostring))[-12:]),
      capacity: 1073741824, used: 0,
      kovra: {version: 6, extents: [{device: "naa.rely0", partition: (.key + 1)}]}}]
  } | if $full == "" then . else
    .volumes += [range(5) | {
      type: "Kovra", name: (if . < 4 then "kv3-\(.)" else "kv-late" end),
      uuid: "6a2b3c4d-1e2f3a4b-5c6d-00000000010\(.)", capacity: 1073741824, used: 0,
      discovered: (. < 4), mounted: (. < 4),
      kovra: {version: (if . < 4 then 3 else 6 end),
              extents: [{device: "naa.rely0", partition: (. + 10)}]}}]
    | .pbcache = {working_set: 4096, working_set_max: 8192, capacity_miss_ratio: 7}
  end
  | .snapshots = [range($snapshots) | {
      label: "snap-\(.)", uuid: "7b3c4d5e-2f3a4b5c-6d7e-\("0000000002" + ("0\(.)")[-2:])",
      extents: [{device: "naa.rely0", partition: (. + 20), start: 0, end: 1023}]}]' "$@"
}

# rely_state STORE: the store's state as sorted key=value lines.
rely_state() {
  "$HOST_TOOL" --store "$1" dump | jq -r --arg nas "${RELY_NAS_SETTINGS:-}" \
    --arg full "${RELY_HOST_STATE:-}" --arg cluster "${RELY_CLUSTER:-}" '
    def vname: .name | sub("^snap-[0-9a-f]{8}-"; "resig-");
    # Each host with the suffix of its keys; in a cluster the first host is
    # the top level, where its views of Kovra volumes are among the volumes.
    (if $cluster == "" then [. + {at: "", views: []}] else
       [. + {at: "@\(.host)", views: [.volumes[] | select(.type == "Kovra")],
             volumes: [.volumes[] | select(.type != "Kovra")]}]
       + [.hosts[] | . + {at: "@\(.host)"}] end) as $hosts
    | ([$hosts[] | select(.mac) | {key: .mac, value: .host}] | from_entries) as $host_of
    | ($hosts[] | .at as $at
       | (((.volumes[] | select($full != "" or .type != "Kovra")), .views[]) | select(.discovered)
          | "vol:\(vname)\($at)=\(if .mounted then "mounted" else "unmounted" end)"),
         (select($nas != "") | .volumes[] | select(.nfs)
          | "nas:\(.name)\($at)=\(if .nfs.read_only then "ro" else "rw" end)/\(if .nfs.pe then "pe" else "notpe" end)",
            "param:\(.name)\($at)=\(.nfs.queue_depth)/\(.nfs.strelnic_param)",
            "preunmount:\(.name)\($at)=\(.nfs.preunmount)"),
         (select($full != "")
          | "pbcache\($at)=\(.pbcache.working_set_max)/\(.pbcache.capacity_miss_ratio)",
            "restores\($at)=\(.psa.restores)",
            "faults\($at)=\([.faults[] | "\(.operation)@\(.object)"] | join(","))",
            "events\($at)=\(.events | length)"),
         (.features | to_entries[] | "feature:\(.key)\($at)=\(.value)"),
         (select($cluster != "") | "host:\(.host)=\(if .up == false then "down" else "up" end)")),
      (.volumes[] | select(.type == "Kovra") | select($cluster != "" or .discovered)
       | "reclaim:\(vname)=\(.kovra.unmap.granularity)/\(.kovra.unmap.priority)",
         "lock:\(vname)=\(.kovra.lock_mode)",
         (select($full != "")
          | "version:\(vname)=\(.kovra.version)", "clustered:\(vname)=\(.kovra.clustered_kadisk)",
            "reclaimed:\(vname)=\(.kovra.reclaimed)"),
         (select($cluster != "") | vname as $v | .kovra.heartbeats[]
          | "slot:\($v)@\($host_of[.mac] // .mac)=\(if .alive then "alive" else "dead" end)/\(.lock_mode)")),
      (select($full != "") | .snapshots[] | "snap:\(.label)=unresolved")' | sort
}

# rely_integrity STORE: prints what PRAGMA integrity_check says ("ok"). It
# waits for a writer as the tools do: the datastore agent of a killed
# tarvexcli may still be recording its notification.
rely_integrity() {
  sqlite3 -cmd '.timeout 5000' "$1" 'PRAGMA integrity_check' 2>&1 | tr '\n' ' ' | sed 's/ $//'
}

# rely_load_state ARRAY STORE: fills the associative array ARRAY with the
# store's state.
# shellcheck disable=SC2034  # `into` is a nameref: it fills the caller's array
rely_load_state() {
  local -n into="$1"
  local line
  into=()
  while IFS= read -r line; do
    into["${line%%=*}"]="${line#*=}"
  done < <(rely_state "$2")
}

# rely_get ARRAY KEY: sets REPLY to the value of KEY in a state loaded by
# rely_load_state (no subshell: the suites ask for every key every round); a
# volume that is not there is "absent", a feature that is not listed is off.
rely_get() {
  local -n from="$1"
  if [[ -n "${from[$2]+set}" ]]; then
    REPLY="${from[$2]}"
  else
    case "$2" in
      vol:* | nas:* | param:* | preunmount:* | snap:* | slot:*) REPLY=absent ;;
      feature:*) REPLY=false ;;
      *) REPLY=missing ;;
    esac
  fi
}

# rely_value ARRAY KEY: prints what rely_get finds.
rely_value() {
  rely_get "$@"
  echo "$REPLY"
}

# rely_differences EXPECTED ACTUAL: "KEY ACTUAL_VALUE EXPECTED_VALUE" for each
# key of either state whose values differ; an expected "unknown" matches all.
rely_differences() {
  local -n _rd_want="$1" _rd_have="$2"
  local k want
  for k in $(printf '%s\n' "${!_rd_want[@]}" "${!_rd_have[@]}" | sort -u); do
    rely_get "$1" "$k"
    want="$REPLY"
    rely_get "$2" "$k"
    [[ "$want" == unknown || "$want" == "$REPLY" ]] || echo "$k $REPLY $want"
  done
}

# rely_invariants STORE [LABEL...]: "N: what" for each breach of invariant N
# of a cluster's Kovra volumes (docs/reliability.md): 1. live slots are
# those of the up hosts that mount the volume, each host has one slot on a
# volume it mounts (dead while it is down), none on another; 2. no pending
# bit while no live slot disagrees; 3. a resignatured snapshot (each LABEL,
# any behind a volume snap-XXXXXXXX-LABEL) gave one volume and is gone.
rely_invariants() {
  "$HOST_TOOL" --store "$1" dump | jq -r --args '
    def bit($n): (. / $n | floor) % 2 == 1;
    ([{host, mac, up, mounted: [.volumes[] | select(.type == "Kovra" and .mounted) | .name]}]
     + [.hosts[]? | {host, mac, up, mounted: [.views[] | select(.mounted) | .name]}]
     | map(.up |= (. != false))) as $hosts
    | def who: . as $mac | first($hosts[] | select(.mac == $mac) | .host) // $mac;
    (.volumes[] | select(.type == "Kovra") | .name as $v | .kovra as $k
       | ([$k.heartbeats[] | select(.alive) | .mac | who] | sort) as $alive
       | ([$hosts[] | select(.up and (.mounted | index([$v]))) | .host] | sort) as $want
       | (select($alive != $want)
          | "1: \($v): live slots of \($alive), expected those of \($want) (up, mounted)"),
         ($hosts[] | . as $h | ([$k.heartbeats[] | select(.mac == $h.mac)] | length) as $n
          | select($n != (if $h.mounted | index([$v]) then 1 else 0 end))
          | "1: \($v): \($h.host) (\(if $h.up then "up" else "down" end), " +
            "\(if $h.mounted | index([$v]) then "" else "not " end)mounted) has \($n) slots"),
         ([$k.heartbeats[] | select(.alive) | .lock_mode] as $live | ($k.lock_mode | bit(32)) as $up
          | select(($k.lock_mode | bit(32) or bit(64)) and all($live[]; bit(4) == $up))
          | "2: \($v): lock mode \($k.lock_mode), \(if $up then "up" else "down" end)grade " +
            "pending, yet no live slot disagrees (\($live | length) live)")),
    ([.snapshots[].label] as $snapshots
     | [.volumes[].name | capture("^snap-[0-9a-f]{8}-(?<l>.+)$").l] as $made
     | ($made + $ARGS.positional | unique[]) as $l
     | ([$made[] | select(. == $l)] | length) as $n
     | select($n != 1 or ($snapshots | index([$l])))
     | "3: snapshot \($l) resignatured: \($n) volumes, " +
       "\(if $snapshots | index([$l]) then "still" else "no longer" end) unresolved")' "${@:2}"
}

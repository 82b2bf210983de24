#!/usr/bin/env python3
"""Checks a dry run's list against a real run of the same command.

usage: dry_run_check.py DRY_STDERR BEFORE_DUMP AFTER_DUMP [--values-vary]

DRY_STDERR is what the dry run printed on stderr, its list (--dry-run=json)
last. The list, applied to BEFORE_DUMP, must give AFTER_DUMP (the dumps of
the real run, events aside); its notifications must be the events the real
run added. With --values-vary (a command that makes a volume of a random
UUID or name), runs of hex digits in texts are not compared. Prints the differences;
exits 1 on any.
"""

import difflib
import json
import re
import sys

LISTS = {"volume": "volumes", "NAS mount": "volumes", "option": "advanced_options",
         "device": "devices", "NFS server": "nfs_servers", "snapshot": "snapshots",
         "heap": "heaps", "fault": "faults"}


def ident(key, item):
    if key == "advanced_options":
        return f"{item['group']}/{item['name']}"
    if key == "nfs_servers":
        return item["address"]
    if key == "snapshots":
        return item["label"]
    if key == "faults":
        return f"{item['operation']}@{item['object']}"
    if key == "heartbeats":
        return item["uuid"]
    return item["name"]


def place(host, change):
    """The list holding the object the change names, and its identity there."""
    if change["kind"] == "heartbeat slot":
        volume, uuid = change["name"].split("/", 1)
        parent = next(v for v in host["volumes"] if v["name"] == volume)
        return parent["kovra"]["heartbeats"], "heartbeats", uuid
    key = LISTS[change["kind"]]
    return host.setdefault(key, []), key, change["name"]


def apply(host, change):
    if change["kind"] == "host":
        target = host
    else:
        items, key, name = place(host, change)
        found = [i for i in items if ident(key, i) == name]
        if change["change"] == "added":
            items.append(change["new"])
            return
        if change["change"] == "removed":
            items.remove(found[0])
            return
        target = found[0]
    for field in change["fields"]:
        *path, last = field["field"].split(".")
        node = target
        for part in path:
            node = node.setdefault(part, {})
        if field["new"] is None and field["old"] is not None:
            node.pop(last, None)
        else:
            node[last] = field["new"]


def canonical(node, key=None, vary=False):
    """Lists of objects sorted by identity, so that order never matters."""
    if isinstance(node, str) and vary:
        return re.sub(r"[0-9a-f]{4,}", "*", node)
    if isinstance(node, dict):
        return {k: canonical(v, k, vary) for k, v in node.items() if k != "events"}
    if isinstance(node, list):
        items = [canonical(i, None, vary) for i in node]
        if items and all(isinstance(i, dict) for i in items):
            try:
                return sorted(items, key=lambda i: ident(key, i))
            except KeyError:
                return items
        return items
    return node


def main():
    stderr = open(sys.argv[1], encoding="utf-8").read()
    report = json.loads(stderr[stderr.rindex("\n{") + 1 if "\n{" in stderr else 0:])
    before = json.load(open(sys.argv[2]))
    after = json.load(open(sys.argv[3]))
    failures = []
    new_events = [[e["event"], e.get("input")] for e in after["events"][len(before["events"]):]]
    told = [[n["command"].split(" -t ")[1].split()[0], n["input"]] for n in report["notifications"]]
    if told != new_events:
        failures.append(f"notifications {told}, the real run recorded {new_events}")
    vary = sys.argv[4:] == ["--values-vary"]
    for change in report["changes"]:
        apply(before, change)
    got, want = canonical(before, None, vary), canonical(after, None, vary)
    if got != want:
        lines = [json.dumps(x, indent=1).splitlines() for x in (got, want)]
        failures.append("the list applied to the dump before is not the dump after:\n" +
                        "\n".join(difflib.unified_diff(*lines, "listed", "real", n=1, lineterm="")))
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()

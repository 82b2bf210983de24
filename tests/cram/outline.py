#!/usr/bin/env python3
"""Prints the outline of the command reference in FILE (docs/commands.md or
the roff of tarvexcli(1)): each node's path, and after a command's path one
"PATH --option" line per option, so that the two forms can be compared."""

import re
import sys

node = None
for line in open(sys.argv[1], encoding="utf-8"):
    line = line.replace("\\-", "-").replace("\\fB", "`").replace("\\fR", "`")
    heading = re.match(r'(?:##+ |\.SS ")([a-z0-9 _]+)"?$', line)
    option = re.match(r"(?:- )?`(--[a-z0-9-]+)`", line)
    if heading and heading.group(1) != "Contents":
        node = heading.group(1)
        print(node)
    elif option and node:
        print(node, option.group(1))

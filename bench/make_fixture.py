#!/usr/bin/env python3
"""Writes a fixture of a host with N volumes of mixed types, for benchmarks.

Usage: make_fixture.py N [--nfs-only]
Mix: 60% Kovra (versions 3, 5, 6), 25% NFS v3, 10% NFS v4.1, 5% vfat.
"""
import json
import sys


def uuid(i, tag):
    return "%08x-%08x-%04x-%012x" % (0x5f000000 + i, 0x1a2b0000 + tag, i % 0xffff, i)


def main():
    n = int(sys.argv[1])
    devices = [{"name": "naa.6027a3e3001d%04x" % d, "ats": True} for d in range(16)]
    volumes = []
    for i in range(n):
        kind = i % 20
        common = {"name": "vol-%06d" % i, "capacity": 1099511627776 + i,
                  "used": 549755813888 + i}
        if kind < 12:
            common.update({"type": "Kovra", "uuid": uuid(i, 1), "kovra": {
                "version": (3, 5, 6)[i % 3], "lvm_uuid": uuid(i, 2),
                "extents": [{"device": devices[i % 16]["name"], "partition": 1}]}})
        elif kind < 17:
            common.update({"type": "NFS", "uuid": "%08x-%08x" % (0xc0000000 + i, i),
                           "mount_point": "/kovra/volumes/%08x-%08x" % (0xc0000000 + i, i),
                           "nfs": {"hosts": ["192.0.2.%d" % (10 + i % 200)],
                                   "share": "/exports/vol-%06d" % i}})
        elif kind < 19:
            common.update({"type": "NFS41", "uuid": "%08x-%08x" % (0xd0000000 + i, i),
                           "mount_point": "/kovra/volumes/%08x-%08x" % (0xd0000000 + i, i),
                           "nfs": {"hosts": ["198.51.100.%d" % (10 + i % 200),
                                             "198.51.100.%d" % (11 + i % 200)],
                                   "share": "/exports/vol-%06d" % i, "security": 1}})
        else:
            common.update({"type": "vfat", "uuid": uuid(i, 3)})
        volumes.append(common)
    json.dump({"format": 1, "host": "bench.example.test", "devices": devices,
               "nfs_servers": [], "volumes": volumes}, sys.stdout)


if __name__ == "__main__":
    main()

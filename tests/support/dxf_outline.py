#!/usr/bin/python3
"""Reads DXF files strictly with ezdxf and reports their line outlines.

Usage: dxf_outline.py FILE... (one run for many files: starting Python with
ezdxf costs more than reading a drawing).

Output lines, per file:
  FILE <index> <path>             the file the following lines are about
  AUDIT <errors> <fixes>
  ENTITY <type> <count>           per entity type of the model space
  COMPONENT <index> <closed 0|1> <vertices> <layer>
  V <x> <y>                       the vertices of a closed component, in order
  STATUS <code>                   0, or 2 when the file does not load or its
                                  audit finds errors
Exit code: the largest status.
"""
import sys
from collections import defaultdict

import ezdxf


def key(p):
    return (round(p[0], 5), round(p[1], 5))


def outline(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # any read failure is a failed test
        print("LOADERROR", type(exc).__name__, exc)
        return 2
    auditor = doc.audit()
    print("AUDIT", len(auditor.errors), len(auditor.fixes))
    msp = doc.modelspace()
    counts = defaultdict(int)
    adjacency = defaultdict(list)
    layers = {}
    for e in msp:
        counts[e.dxftype()] += 1
        if e.dxftype() == "LINE":
            a, b = key(e.dxf.start), key(e.dxf.end)
            if a == b:
                continue
            adjacency[a].append(b)
            adjacency[b].append(a)
            layers.setdefault(a, e.dxf.layer)
    for t in sorted(counts):
        print("ENTITY", t, counts[t])
    seen = set()
    index = 0
    for start in sorted(adjacency):
        if start in seen:
            continue
        # The connected component of start.
        stack, comp = [start], []
        seen.add(start)
        while stack:
            v = stack.pop()
            comp.append(v)
            for w in adjacency[v]:
                if w not in seen:
                    seen.add(w)
                    stack.append(w)
        closed = all(len(adjacency[v]) == 2 for v in comp)
        index += 1
        print("COMPONENT", index, int(closed), len(comp), layers.get(start, ""))
        if closed:
            order, prev, v = [start], None, start
            while True:
                a, b = adjacency[v]
                nxt = b if a == prev else a
                if nxt == start:
                    break
                order.append(nxt)
                prev, v = v, nxt
            for x, y in order:
                print("V", x, y)
    return 2 if auditor.has_errors else 0


def main():
    worst = 0
    for index, path in enumerate(sys.argv[1:], start=1):
        print("FILE", index, path)
        status = outline(path)
        print("STATUS", status)
        worst = max(worst, status)
    return worst


if __name__ == "__main__":
    sys.exit(main())

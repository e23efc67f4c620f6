#!/usr/bin/python3
"""Reads a DXF file strictly with ezdxf and reports its texts and inserts,
its layers and its drawing units.

Output lines:
  HEADER <variable> <value>       $INSUNITS and $MEASUREMENT, "-" when absent
  LAYER <name> <colour>           per entry of the LAYER table, as loaded
  USED <layer> <entities>         per layer the entities of the file are on
  AUDIT <errors> <fixes>
  BLOCK <name> <entities>         per block defined in the file (not *Model_Space etc.)
  INSERT <owner> <name> <x> <y> <xscale>
  TEXT <owner> <x> <y> <height> <rotation>|<text>   the text as shown (codes decoded)
Owner is "*" for the model space, else the block name.
With several files, each file's lines follow a line "FILE <index>" and end
with "STATUS <code>" (2 when the file does not load or its audit finds
errors, else 0); the exit code is the largest.
"""
import sys

import ezdxf


def report(owner, entities):
    for e in entities:
        kind = e.dxftype()
        if kind == "INSERT":
            print("INSERT", owner, e.dxf.name, "%.4f" % e.dxf.insert[0], "%.4f" % e.dxf.insert[1],
                  "%.6f" % e.dxf.xscale)
        elif kind == "TEXT":
            # The text as a reader shows it, its control codes decoded.
            print("TEXT %s %.4f %.4f %.4f %.1f|%s" % (owner, e.dxf.insert[0], e.dxf.insert[1], e.dxf.height,
                                                      e.dxf.rotation, e.plain_text()))


def read(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # any read failure is a failed test
        print("LOADERROR", type(exc).__name__, exc)
        return 2
    for name in ("$INSUNITS", "$MEASUREMENT"):
        print("HEADER", name, doc.header.get(name, "-"))
    # The table as the file defines it, before the audit adds to it.
    for layer in doc.layers:
        print("LAYER", layer.dxf.name, layer.dxf.color)
    used = {}
    for layout in [doc.modelspace()] + [b for b in doc.blocks if not b.name.startswith("*")]:
        for e in layout:
            used[e.dxf.layer] = used.get(e.dxf.layer, 0) + 1
    for name, count in sorted(used.items()):
        print("USED", name, count)
    auditor = doc.audit()
    print("AUDIT", len(auditor.errors), len(auditor.fixes))
    for block in doc.blocks:
        if block.name.startswith("*"):
            continue
        print("BLOCK", block.name, len(block))
        report(block.name, block)
    report("*", doc.modelspace())
    return 2 if auditor.errors else 0


def main():
    files = sys.argv[1:]
    if len(files) == 1:
        return read(files[0])
    worst = 0
    for index, path in enumerate(files):
        print("FILE", index)
        status = read(path)
        print("STATUS", status)
        worst = max(worst, status)
    return worst


if __name__ == "__main__":
    sys.exit(main())

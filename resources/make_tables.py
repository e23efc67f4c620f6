#!/usr/bin/python3
# Writes the program's two small tables, the tool table "v1toolx.dbf" and
# the printout presets "printout.dbf", as dBASE III tables (version 0x03)
# with the Debian module python3-dbf. The tables are committed; run this
# again only after changing their contents here, then review the tables
# with `dbview` before committing them.
import os

import dbf

HERE = os.path.dirname(os.path.abspath(__file__))

# hfP0/mn, haP0/mn, rhoaP0/mn, al.kP0, hFfP0/mn, al.prP0, prP0/mn, rhofP0/mn,
# alpha, module (0 = any); standard, tool, maker, remark, profile name.
TOOLS = [
    (1.0, 1.25, 0.38, 0, 1.0, 0, 0, 0.3, 20, 0, "ISO 53 A", "hob", "", "hobbing, large root radius", "Normal"),
    (1.0, 1.25, 0.30, 0, 1.0, 0, 0, 0.3, 20, 0, "ISO 53 B", "hob", "", "hobbing", "Normal"),
    (1.0, 1.25, 0.25, 0, 1.0, 0, 0, 0.25, 20, 0, "ISO 53 C", "hob", "", "hobbing, shaving", "Normal"),
    (1.0, 1.40, 0.39, 0, 1.0, 0, 0, 0.3, 20, 0, "ISO 53 D", "hob", "", "before grinding or shaving", "Normal"),
    (1.0, 1.25, 0.20, 0, 1.0, 0, 0, 0.2, 20, 0, "DIN 3972 II", "hob", "", "finishing", "Normal"),
    (1.0, 1.40, 0.40, 0, 1.0, 10, 0.025, 0.3, 20, 0, "DIN 3972 IV", "protuberance hob", "", "before grinding",
     "Protub."),
    (1.0, 1.25, 0.25, 35, 0.9, 0, 0, 0.25, 20, 0, "DIN 3972 II", "tip chamfer hob", "", "tip chamfer of the gear",
     "Normal"),
    (1.0, 1.157, 0.209, 0, 1.0, 0, 0, 0.2, 14.5, 0, "14.5 deg", "hob", "", "full depth, 14.5 deg", "Normal"),
    (1.0, 1.25, 0.30, 0, 1.0, 0, 0, 0.3, 20, 1.0, "ISO 53 B", "hob m 1", "", "module 1 only", "Normal"),
]

PRESETS = [
    ("A4 sheet", 1.9, 1.0, 0, 0, False, False, False, False),
    ("Picture, landscape", 1.0, 1.0, 10, 10, True, False, True, True),
    ("Picture, portrait, mono", 1.0, 1.0, 10, 20, False, True, True, False),
]


def write(name, spec, rows):
    path = os.path.join(HERE, name)
    if os.path.exists(path):
        os.remove(path)
    table = dbf.Table(path, spec, dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    table.close()


write("v1toolx.dbf",
      "HFP0 N(8,4); HAP0 N(8,4); RHOAP0 N(8,4); ALKP0 N(8,3); HFFP0 N(8,4); ALPRP0 N(8,3); PRP0 N(8,4); "
      "RHOFP0 N(8,4); ALPHA N(8,3); MODUL N(8,3); STANDARD C(20); TOOL C(20); MAKER C(20); REMARK C(30); "
      "PROFILE C(10)", TOOLS)
write("printout.dbf",
      "NAME C(25); XSCALE N(10,4); YSCALE N(10,4); XORIGIN N(6,0); YORIGIN N(6,0); LANDSCAPE L; MONOCHROM L; "
      "VARIABLE L; BORDERLINE L", PRESETS)

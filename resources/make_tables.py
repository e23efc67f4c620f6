#!/usr/bin/python3
# Writes the program's small tables, the material table "vobwst.dbf", the
# tool table "v1toolx.dbf" and the printout presets "printout.dbf", as
# dBASE III tables (version 0x03) with the Debian module python3-dbf. The tables are committed; run this
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

# The gear materials. The program reads the fields by position: name,
# material group (1 St, 2 Eh, 3 V, 4 GGG pearlitic/bainitic, 5 GGG
# ferritic, 6 GG, 7 GTS, 8 others) and its short text, heat treatment
# (0 none, 1 quenched and tempered, 2 case-hardened, 3 induction-, 4 flame-
# hardened, 5 gas-, 6 bath-nitrided, 7 nitrocarburised) and its short text,
# Brinell hardness, SigmaHlim, SigmaFE, E (MPa), Poisson ratio, density
# (kg/dm3); then standard, material number and a remark.
#
# SigmaHlim and the root strength are the allowable stress numbers of the
# ISO 6336-5 quality lines: sigma = A x + B over the hardness x (HBW for the
# structural steels and cast irons, HV = HB / 0.95 for the steels rated in
# Vickers), each line valid over its hardness range; a hardness beyond the
# range takes the value at the range's end, since the standard does not
# extend its lines. The root strength field holds SigmaFE = 2 SigmaFlim (the
# stress correction factor 2 of the reference test gear), which the
# calculation multiplies by the relative notch and size factors alone. The
# Brinell number of a surface-hardened steel is its surface hardness
# converted from HV. The standard gives no numbers for bronzes and plastics:
# those rows carry "estimate" in their remark and are starting points only.
#
# Each line: hardness scale, (A, B, x min, x max) for SigmaHlim and for
# SigmaFlim.
QUALITY_LINES = {
    # Normalised low-carbon wrought steels, ML/MQ.
    "St MQ": ("HBW", (1.000, 190, 110, 210), (0.455, 69, 110, 210)),
    # Through-hardened wrought carbon steels.
    "V carbon MQ": ("HV", (0.925, 360, 135, 210), (0.240, 163, 115, 215)),
    # Through-hardened wrought alloy steels.
    "V alloy MQ": ("HV", (1.313, 373, 200, 360), (0.425, 187, 200, 360)),
    "V alloy ML": ("HV", (1.313, 188, 200, 360), (0.423, 104, 200, 360)),
    # Case-hardened wrought steels; MQ root strength by core hardness.
    "Eh MQ core 25 HRC": ("HV", (0, 1500, 600, 800), (0, 425, 600, 800)),
    "Eh MQ core 30 HRC": ("HV", (0, 1500, 600, 800), (0, 461, 600, 800)),
    "Eh ML": ("HV", (0, 1300, 600, 800), (0, 312, 600, 800)),
    # Flame- or induction-hardened wrought steels.
    "IF MQ": ("HV", (0.541, 882, 500, 615), (0.138, 290, 500, 570)),
    "IF ML": ("HV", (0.740, 602, 485, 615), (0.305, 76, 485, 615)),
    # Nitriding steels, gas-nitrided; through-hardening steels, nitrided.
    "NT MQ": ("HV", (0, 1250, 650, 900), (0, 420, 650, 900)),
    "NV MQ": ("HV", (0, 998, 450, 650), (0, 363, 450, 650)),
    # Cast irons, ML/MQ.
    "GG MQ": ("HBW", (1.033, 132, 150, 240), (0.256, 8, 150, 240)),
    "GGG MQ": ("HBW", (1.434, 211, 175, 300), (0.350, 119, 175, 300)),
    "GTS MQ": ("HBW", (1.371, 143, 135, 250), (0.345, 77, 135, 250)),
}


def on_line(line, hb):
    """SigmaHlim and SigmaFE of a Brinell hardness on a quality line."""
    scale, h, f = QUALITY_LINES[line]
    x = hb / 0.95 if scale == "HV" else hb

    def value(a, b, lo, hi):
        return a * min(max(x, lo), hi) + b

    return round(value(*h)), round(2 * value(*f))


def rated(name, group, group_text, heat, heat_text, hb, line, elastic, standard, number, remark):
    return (name, group, group_text, heat, heat_text, hb, *on_line(line, hb), *elastic, standard, number,
            remark)


STEEL = (206000, 0.3, 7.85)
MATERIALS = [
    # Case-hardening steels, case-hardened (58-62 HRC).
    rated("16MnCr5", 2, "Eh", 2, "case-hard.", 660, "Eh MQ core 25 HRC", STEEL, "EN ISO 683-3", "1.7131",
          "MQ, core >= 25 HRC"),
    rated("16MnCr5 ML", 2, "Eh", 2, "case-hard.", 660, "Eh ML", STEEL, "EN ISO 683-3", "1.7131", "ML"),
    rated("20MnCr5", 2, "Eh", 2, "case-hard.", 660, "Eh MQ core 30 HRC", STEEL, "EN ISO 683-3", "1.7147",
          "MQ, core >= 30 HRC"),
    rated("18CrNiMo7-6", 2, "Eh", 2, "case-hard.", 660, "Eh MQ core 30 HRC", STEEL, "EN ISO 683-3", "1.6587",
          "MQ, core >= 30 HRC"),
    # Heat-treatable steels, quenched and tempered or normalised.
    rated("42CrMo4", 3, "V", 1, "heat-treat.", 300, "V alloy MQ", STEEL, "EN ISO 683-2", "1.7225",
          "MQ, Rm 1000"),
    rated("42CrMo4 ML", 3, "V", 1, "heat-treat.", 300, "V alloy ML", STEEL, "EN ISO 683-2", "1.7225",
          "ML, Rm 1000"),
    rated("34CrNiMo6", 3, "V", 1, "heat-treat.", 330, "V alloy MQ", STEEL, "EN ISO 683-2", "1.6582",
          "MQ, Rm 1100"),
    # 221 HV lies above the carbon steels' lines (210 and 215 HV): rated at
    # the lines' ends.
    rated("C45", 3, "V", 1, "heat-treat.", 210, "V carbon MQ", STEEL, "EN ISO 683-1", "1.0503",
          "MQ, Rm 700"),
    rated("C45 normalised", 3, "V", 0, "none", 190, "V carbon MQ", STEEL, "EN ISO 683-1", "1.0503",
          "MQ, Rm 620"),
    # Surface-hardened and nitrided steels.
    rated("42CrMo4 induction", 3, "V", 3, "ind.hard.", 560, "IF MQ", STEEL, "EN ISO 683-2", "1.7225",
          "MQ, 53-56 HRC contour-hardened"),
    rated("C45 flame-hardened", 3, "V", 4, "flame-hard.", 530, "IF ML", STEEL, "EN ISO 683-1", "1.0503",
          "ML, 50-55 HRC"),
    rated("31CrMoV9 nitrided", 3, "V", 5, "gas-nitr.", 710, "NT MQ", STEEL, "EN 10085", "1.8519",
          "MQ, nitriding steel, 750 HV"),
    rated("42CrMo4 nitrided", 3, "V", 5, "gas-nitr.", 520, "NV MQ", STEEL, "EN ISO 683-2", "1.7225",
          "MQ, 550 HV"),
    # Normalised structural steels.
    rated("S355J2", 1, "St", 0, "none", 160, "St MQ", STEEL, "EN 10025-2", "1.0577", "MQ, Rm 470"),
    rated("E335", 1, "St", 0, "none", 190, "St MQ", STEEL, "EN 10025-2", "1.0060", "MQ, Rm 570"),
    # Cast irons.
    rated("EN-GJL-250", 6, "GG", 0, "none", 220, "GG MQ", (110000, 0.26, 7.2), "EN 1561", "5.1301",
          "MQ, Rm 250"),
    rated("EN-GJS-400-15", 5, "GGG ferr.", 0, "none", 180, "GGG MQ", (169000, 0.275, 7.1), "EN 1563", "5.3106",
          "MQ, ferritic, Rm 400"),
    rated("EN-GJS-600-3", 4, "GGG perl.", 0, "none", 230, "GGG MQ", (174000, 0.275, 7.2), "EN 1563", "5.3201",
          "MQ, pearlitic, Rm 600"),
    rated("EN-GJS-700-2", 4, "GGG perl.", 0, "none", 260, "GGG MQ", (176000, 0.275, 7.2), "EN 1563", "5.3300",
          "MQ, pearlitic, Rm 700"),
    rated("EN-GJMB-550-4", 7, "GTS", 0, "none", 200, "GTS MQ", (175000, 0.275, 7.3), "EN 1562", "5.4206",
          "MQ, Rm 550"),
    # Bronzes and a plastic: no quality line; estimates.
    ("CuSn12Ni2-C", 8, "others", 0, "none", 95, 260, 110, 98000, 0.35, 8.8, "EN 1982", "2.1060",
     "estimate, tin bronze"),
    ("CuAl10Fe5Ni5-C", 8, "others", 0, "none", 150, 450, 300, 120000, 0.32, 7.6, "EN 1982", "2.0975",
     "estimate, aluminium bronze"),
    ("PA66", 8, "others", 0, "none", 0, 40, 40, 3000, 0.4, 1.14, "ISO 1874", "",
     "estimate, dry, 23 C"),
]

PRESETS = [
    ("A4 sheet", 1.0, 1.0, 0, 0, False, False, False, False),
    ("Picture, landscape", 1.0, 1.0, 10, 10, True, False, True, True),
    ("Picture, portrait, mono", 1.0, 1.0, 10, 20, False, True, True, False),
]


def write(name, fields, rows):
    path = os.path.join(HERE, name)
    if os.path.exists(path):
        os.remove(path)
    table = dbf.Table(path, fields, dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row)
    table.close()


write("vobwst.dbf",
      "NAME C(20); TYPE N(2,0); TYPETEXT C(10); HEAT N(2,0); HEATTEXT C(12); HB N(4,0); SHLIM N(5,0); "
      "SFE N(5,0); EMOD N(7,0); MUE N(6,3); RHO N(6,3); STANDARD C(14); MATNO C(10); REMARK C(30)",
      MATERIALS)
write("v1toolx.dbf",
      "HFP0 N(8,4); HAP0 N(8,4); RHOAP0 N(8,4); ALKP0 N(8,3); HFFP0 N(8,4); ALPRP0 N(8,3); PRP0 N(8,4); "
      "RHOFP0 N(8,4); ALPHA N(8,3); MODUL N(8,3); STANDARD C(20); TOOL C(20); MAKER C(20); REMARK C(30); "
      "PROFILE C(10)", TOOLS)
write("printout.dbf",
      "NAME C(25); XSCALE N(10,4); YSCALE N(10,4); XORIGIN N(6,0); YORIGIN N(6,0); LANDSCAPE L; MONOCHROM L; "
      "VARIABLE L; BORDERLINE L", PRESETS)

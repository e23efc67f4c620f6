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
# SigmaHlim and the root strength follow the allowable stress numbers of the
# gear rating standards for the material quality named in the remark (MQ
# unless ML is named): for the through-hardened, normalised and cast
# materials from the quality lines over the hardness (HV = HB / 0.95), for
# the case-hardened and nitrided steels the fixed values of the quality.
# The root strength field holds SigmaFE, the strength of the unnotched
# material, which the calculation multiplies by the relative notch and size
# factors alone: for the metals SigmaFE = 2 SigmaFlim (the stress
# correction factor 2 of the reference test gear). The standards give no
# numbers for bronze and plastics; those rows are estimates to start from,
# and a plastic gear's SigmaFE is its root strength as such. The Brinell
# number of a surface-hardened steel is its surface hardness converted
# from HV.
STEEL = (206000, 0.3, 7.85)
MATERIALS = [
    # Case-hardening steels, case-hardened (58-62 HRC).
    ("16MnCr5", 2, "Eh", 2, "case-hard.", 660, 1500, 850, *STEEL, "EN ISO 683-3", "1.7131", "MQ, core Rm 1000"),
    ("16MnCr5 ML", 2, "Eh", 2, "case-hard.", 660, 1300, 625, *STEEL, "EN ISO 683-3", "1.7131", "ML"),
    ("20MnCr5", 2, "Eh", 2, "case-hard.", 660, 1500, 920, *STEEL, "EN ISO 683-3", "1.7147", "MQ, core Rm 1100"),
    ("18CrNiMo7-6", 2, "Eh", 2, "case-hard.", 660, 1500, 1000, *STEEL, "EN ISO 683-3", "1.6587",
     "MQ, core >= 30 HRC, Rm 1200"),
    # Heat-treatable steels, quenched and tempered or normalised.
    ("42CrMo4", 3, "V", 1, "heat-treat.", 300, 785, 640, *STEEL, "EN ISO 683-2", "1.7225", "MQ, Rm 1000"),
    ("42CrMo4 ML", 3, "V", 1, "heat-treat.", 300, 600, 475, *STEEL, "EN ISO 683-2", "1.7225", "ML, Rm 1000"),
    ("34CrNiMo6", 3, "V", 1, "heat-treat.", 330, 830, 670, *STEEL, "EN ISO 683-2", "1.6582", "MQ, Rm 1100"),
    ("C45", 3, "V", 1, "heat-treat.", 210, 560, 430, *STEEL, "EN ISO 683-1", "1.0503", "MQ, Rm 700"),
    ("C45 normalised", 3, "V", 0, "none", 190, 545, 420, *STEEL, "EN ISO 683-1", "1.0503", "MQ, Rm 620"),
    # Surface-hardened and nitrided steels.
    ("42CrMo4 induction", 3, "V", 3, "ind.hard.", 560, 1200, 740, *STEEL, "EN ISO 683-2", "1.7225",
     "MQ, 53-56 HRC contour-hardened"),
    ("C45 flame-hardened", 3, "V", 4, "flame-hard.", 530, 1015, 495, *STEEL, "EN ISO 683-1", "1.0503",
     "ML, 50-55 HRC"),
    ("31CrMoV9 nitrided", 3, "V", 5, "gas-nitr.", 710, 1250, 840, *STEEL, "EN 10085", "1.8519",
     "MQ, nitriding steel, 750 HV"),
    ("42CrMo4 nitrided", 3, "V", 5, "gas-nitr.", 520, 1000, 725, *STEEL, "EN ISO 683-2", "1.7225",
     "MQ, 550 HV"),
    # Normalised structural steels.
    ("S355J2", 1, "St", 0, "none", 160, 350, 285, *STEEL, "EN 10025-2", "1.0577", "MQ, Rm 470"),
    ("E335", 1, "St", 0, "none", 190, 380, 310, *STEEL, "EN 10025-2", "1.0060", "MQ, Rm 570"),
    # Cast irons.
    ("EN-GJL-250", 6, "GG", 0, "none", 220, 360, 130, 110000, 0.26, 7.2, "EN 1561", "5.1301", "MQ, Rm 250"),
    ("EN-GJS-400-15", 5, "GGG ferr.", 0, "none", 180, 470, 365, 169000, 0.275, 7.1, "EN 1563", "5.3106",
     "MQ, ferritic, Rm 400"),
    ("EN-GJS-600-3", 4, "GGG perl.", 0, "none", 230, 540, 400, 174000, 0.275, 7.2, "EN 1563", "5.3201",
     "MQ, pearlitic, Rm 600"),
    ("EN-GJS-700-2", 4, "GGG perl.", 0, "none", 260, 585, 420, 176000, 0.275, 7.2, "EN 1563", "5.3300",
     "MQ, pearlitic, Rm 700"),
    ("EN-GJMB-550-4", 7, "GTS", 0, "none", 200, 415, 290, 175000, 0.275, 7.3, "EN 1562", "5.4206",
     "MQ, Rm 550"),
    # Bronzes and a plastic: estimates.
    ("CuSn12Ni2-C", 8, "others", 0, "none", 95, 260, 110, 98000, 0.35, 8.8, "EN 1982", "2.1060",
     "estimate, tin bronze"),
    ("CuAl10Fe5Ni5-C", 8, "others", 0, "none", 150, 450, 300, 120000, 0.32, 7.6, "EN 1982", "2.0975",
     "estimate, aluminium bronze"),
    ("PA66", 8, "others", 0, "none", 0, 40, 40, 3000, 0.4, 1.14, "ISO 1874", "",
     "estimate, dry, 23 C"),
]

PRESETS = [
    ("A4 sheet", 1.9, 1.0, 0, 0, False, False, False, False),
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

#!/usr/bin/python3
# Writes the tables of another dBASE writer (python3-dbf) that the engine's
# tests read: a dBASE III table with every plain field type and deleted
# records, and an empty one. Run once; the tables are committed.
import datetime
import dbf

t = dbf.Table('foreign3.dbf',
              'NAME C(12); QTY N(6,0); PRICE N(9,2); BIG N(15,0); BORN D; OK L',
              dbf_type='db3', codepage='cp850')
t.open(mode=dbf.READ_WRITE)
rows = [
    ('Gear wheel', 12, 104.5, 123456789012345, datetime.date(1999, 12, 24), True),
    ('Pinion', -3, 0.25, -98765432109, datetime.date(2026, 1, 2), False),
    ('Rack', 0, 99999.99, 0, None, None),
    ('Müller', 7, -1.5, 4000000000, datetime.date(1900, 2, 28), True),
]
for row in rows:
    t.append(row)
dbf.delete(t[1])
t.close()

e = dbf.Table('empty3.dbf', 'CODE C(4); N N(3,0)', dbf_type='db3')
e.open(mode=dbf.READ_WRITE)
e.close()

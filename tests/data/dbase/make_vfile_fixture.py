#!/usr/bin/python3
# Writes a table of another dBASE writer (python3-dbf) that the tests load
# into an in-memory table and write back: character, numeric with and
# without decimals, date and logical fields, one deleted record, keys out
# of order. Run once; the table is committed.
import datetime
import dbf

t = dbf.Table('vfile_parts.dbf',
              'PART C(10); QTY N(5,0); PRICE N(8,2); MADE D; STOCKED L',
              dbf_type='db3', codepage='cp850')
t.open(mode=dbf.READ_WRITE)
rows = [
    ('spur', 40, 12.75, datetime.date(2024, 3, 1), True),
    ('rack', 7, 88.1, datetime.date(1999, 12, 31), False),
    ('worm', 120, 3.5, None, True),
    ('bevel', -2, 0.0, datetime.date(2026, 2, 28), None),
    ('helical', 0, 1234.56, datetime.date(1950, 6, 15), False),
]
for row in rows:
    t.append(row)
dbf.delete(t[1])
t.close()

#!/usr/bin/python3
# Writes memo tables of other writers that the engine's memo tests read: a
# dBASE III and a FoxPro table by python3-dbf, a dBASE IV table by Perl's
# XBase (python3-dbf writes no dBASE IV memos; XBase marks its table 0x84,
# which is set to the dBASE IV memo version 0x8B here). Every table has the
# same three records. Run once; the tables and memo files are committed.
import subprocess
import dbf

ROWS = [
    ('Gear', 'First line\r\nsecond line\r\nÄnderung: Müller'),
    ('Long', ' '.join('word%03d' % i for i in range(120))),
    ('Empty', ''),
]

for kind, name in (('db3', 'memo3'), ('fp', 'memofox')):
    t = dbf.Table(name + '.dbf', 'NAME C(10); NOTES M', dbf_type=kind, codepage='cp850')
    t.open(mode=dbf.READ_WRITE)
    for row in ROWS:
        t.append(row)
    t.close()

# The memo texts go to Perl as code page 850 bytes in its arguments.
perl = r'''
use XBase;
my $t = XBase->create(name => "memo4.dbf", field_names => ["NAME", "NOTES"], field_types => ["C", "M"],
                      field_lengths => [10, 10], field_decimals => [0, 0], version => 4) or die XBase->errstr;
for my $i (0 .. $#ARGV / 2) { $t->set_record($i, $ARGV[2 * $i], $ARGV[2 * $i + 1]); }
$t->close;
'''
args = [b'perl', b'-e', perl.encode()]
for n, m in ROWS:
    args += [n.encode('cp850'), m.encode('cp850')]
subprocess.run(args, check=True)
with open('memo4.dbf', 'r+b') as f:
    f.write(b'\x8b')

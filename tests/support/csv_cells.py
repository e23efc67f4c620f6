# Reads a CSV file strictly with Python's csv module (UTF-8, byte-order mark
# allowed) and prints whether it had the mark, then each row with its cells
# hex-encoded ('-' for an empty cell), for tests/support/csv_reader.h.
import csv
import sys

raw = open(sys.argv[1], 'rb').read()
print('BOM', 1 if raw.startswith(b'\xef\xbb\xbf') else 0)
with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:
    for row in csv.reader(f, strict=True):
        print('ROW', ' '.join(c.encode('utf-8').hex() or '-' for c in row))

#!/usr/bin/python3
"""Reads the Workbook stream of a Compound File with xlrd's own container code and prints its
length and a checksum, for the spreadsheet tests. Exit status 2 when xlrd is not installed."""
import sys
import zlib

try:
    from xlrd import compdoc
except ImportError:
    sys.exit(2)

with open(sys.argv[1], 'rb') as f:
    doc = compdoc.CompDoc(f.read(), logfile=open('/dev/null', 'w'))
data = doc.get_named_stream('Workbook')
print(len(data), zlib.crc32(data))

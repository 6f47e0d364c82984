#!/usr/bin/python3
"""python3-xlwt doing what `customs-assistant-cli xls-write OUT.xls < rows.tsv` does: tab-separated
rows from standard input (escapes \\t \\n \\r \\\\ undone), every cell a text cell formatted "@",
one sheet named StringGrid1. Usage: xlwt_write_tsv.py OUT.xls < rows.tsv"""
import sys

import xlwt

ESCAPES = {"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}


def unescape(cell):
    if "\\" not in cell:
        return cell
    out, i = [], 0
    while i < len(cell):
        ch = cell[i]
        if ch == "\\" and i + 1 < len(cell) and cell[i + 1] in ESCAPES:
            out.append(ESCAPES[cell[i + 1]])
            i += 2
        else:
            out.append(ch)
            i += 1
    return "".join(out)


wb = xlwt.Workbook(encoding="utf-8")
ws = wb.add_sheet("StringGrid1")
text = xlwt.easyxf(num_format_str="@")
for r, line in enumerate(sys.stdin.buffer.read().decode("utf-8").splitlines()):
    for c, cell in enumerate(line.split("\t")):
        ws.write(r, c, unescape(cell), text)
wb.save(sys.argv[1])

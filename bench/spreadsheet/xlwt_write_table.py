#!/usr/bin/python3
"""Writes the benchmark's export table with python3-xlwt, every cell a text cell formatted "@",
and prints the seconds that filling and saving took. Usage: xlwt_write_table.py OUT.xls ROWS COLS"""
import sys
import time

import xlwt


def cell_text(r, c):
    # Keep in step with cellText() in SpreadsheetBench.cpp.
    if r == 0:
        return '列%d' % c
    k = c % 6
    if k == 0:
        return '0755-%08d' % (r * 7919 % 100000000)
    if k == 1:
        return '深圳市第%d贸易有限公司' % (r % 500)
    if k == 2:
        return '%d.%02d' % (r * 13 % 100000, r % 100)
    if k == 3:
        return '2011-%02d-%02d' % (r % 12 + 1, r % 28 + 1)
    if k == 4:
        return ' '
    return '5300%014d' % (r * 104729 + c)


path, rows, cols = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
table = [[cell_text(r, c) for c in range(cols)] for r in range(rows)]
start = time.perf_counter()
wb = xlwt.Workbook(encoding='utf-8')
ws = wb.add_sheet('StringGrid1')
text = xlwt.easyxf(num_format_str='@')
for r, row in enumerate(table):
    for c, value in enumerate(row):
        ws.write(r, c, value, text)
wb.save(path)
print(time.perf_counter() - start)

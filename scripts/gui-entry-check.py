#!/usr/bin/env python3
"""Compares what the Win32 stand-in client received during an entry with what entry-preview lists
for the same sheet and settings (scripts/test-windows-gui).

entry-preview: one write a line, "N<TAB>CHAIN<TAB>POSITION<TAB>METHOD<TAB>PAUSE<TAB>TEXT", then the
line "停顿合计毫秒<TAB>N" with the sum of the pauses.
The stand-in's log: "confirm AREA POSITION: TEXT" for every field confirmed with Enter, and
"goods line: POS=TEXT POS=TEXT" with every filled goods field, by position, when a goods line is finished.

Checked: the confirmed texts, in order, equal the texts of the writes that confirm (paste-confirm,
+enter); each finished goods line holds exactly the last text written to each goods field of that
line. Prints a summary; exit status 1 with the first difference otherwise.
"""
import sys


def preview(path):
    writes = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "停顿合计毫秒":
                continue
            if len(fields) != 6:
                sys.exit(f"entry-preview line not of six fields: {line!r}")
            writes.append((fields[1], int(fields[2]), fields[3], fields[5]))
    return writes


def received(path):
    confirms, goods = [], []
    started = False
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("ready"):
                started = True
                continue
            if not started:
                continue
            if line.startswith("confirm "):
                confirms.append(line.split(": ", 1)[1] if ": " in line else "")
            elif line.startswith("goods line:"):
                # Texts may hold blanks ("型号 AX-200"), so the line is compared whole.
                goods.append(line)
    return confirms, goods


def goods_line(fields):
    """The stand-in's line for a finished goods line: the filled fields by position."""
    return "goods line: " + " ".join(f"{p}={t}" for p, t in sorted(fields.items()) if t)


def main():
    writes = preview(sys.argv[1])
    confirms, goods = received(sys.argv[2])
    expected_confirms = [text for _, _, method, text in writes if "confirm" in method or "+enter" in method]
    if confirms != expected_confirms:
        for i, (got, want) in enumerate(zip(confirms, expected_confirms)):
            if got != want:
                sys.exit(f"confirmation {i + 1}: the stand-in received {got!r}, entry-preview lists {want!r}")
        sys.exit(f"the stand-in received {len(confirms)} confirmations, entry-preview lists {len(expected_confirms)}")
    # Goods lines: the last text of each goods field, a line ending at the write with +enter.
    expected_goods, current = [], {}
    for chain, pos, method, text in writes:
        if chain != "GoodsEdits":
            continue
        current[pos] = text
        if "+enter" in method:
            expected_goods.append(goods_line(current))
            current = {}
    if len(goods) != len(expected_goods):
        sys.exit(f"the stand-in finished {len(goods)} goods lines, entry-preview lists {len(expected_goods)}")
    for i, (got, want) in enumerate(zip(goods, expected_goods)):
        if got != want:
            sys.exit(f"goods line {i + 1}: the stand-in holds {got}, entry-preview lists {want}")
    print(f"entry: the stand-in received the {len(confirms)} confirmations and {len(goods)} goods lines "
          "entry-preview lists")


main()

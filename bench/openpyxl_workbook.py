#!/usr/bin/python3
"""The number list workbook (3001 rows of 8 text cells, each with the Text format) exported,
imported (through the row check into a table) and read with openpyxl, side by side with our
bench_workbook in the same run: mean, min and max of ten runs each, and the ratio of the means.

Usage: /usr/bin/python3 bench/openpyxl_workbook.py [PATH/TO/bench_workbook]
(default build/release/bench/bench_workbook)."""
import json
import os
import subprocess
import sys
import tempfile
import time

import openpyxl

ROWS, COLUMNS, RUNS = 3001, 8, 10
HEADING = ["Serial", "Authorized number", "Start Date", "Start Time ", "End Date", "End Time",
           "Always(V)", "Delete(V)"]


def table():
    """The same full list as bench_workbook: a window on every entry but every seventh (Always)."""
    rows = [HEADING]
    for r in range(1, ROWS):
        always = r % 7 == 0
        window = ["", "", "", ""] if always else ["2024/05/17", "08:00", "2024/12/31", "18:00"]
        rows.append([str(r), "+49301%06d" % r] + window + ["yes" if always else "no", "no"])
    return rows


def export(rows, path):
    wb = openpyxl.Workbook()
    ws = wb.active
    for letter, width in zip("ABCDEF", [4, 20, 16, 16, 16, 16]):
        ws.column_dimensions[letter].width = width
    for r, row in enumerate(rows, start=1):
        for c, text in enumerate(row, start=1):
            target = ws.cell(row=r, column=c)
            target.number_format = "@"
            target.value = text
    wb.save(path)


def is_integer(text):
    text = text.lstrip(" ")
    if text[:1] in ("+", "-"):
        text = text[1:]
    return text.isdigit() and text.isascii()


def import_(path):
    """Load, check every row as the import does, then fill a table of the loaded columns."""
    ws = openpyxl.load_workbook(path).worksheets[0]
    sheet = [["" if v is None else str(v) for v in row]
             for row in ws.iter_rows(max_row=ROWS, max_col=COLUMNS, values_only=True)]
    if sheet[0][0] != "Serial":
        raise ValueError("not a number list")
    faulty = []
    for j, row in enumerate(sheet[1:], start=1):
        if not row[1] or row[6] == "yes" or row[7] == "yes":
            continue
        sd, st, ed, et = row[2:6]
        ok = (len(sd) == 10 and len(ed) == 10 and len(st) == 5 and len(et) == 5 and
              all(is_integer(p) for d in (sd, ed) for p in (d[5:7], d[-2:], d[2:4])) and
              all(is_integer(p) for t in (st, et) for p in (t[:2], t[-2:])))
        if not ok:
            faulty.append(j)
    if faulty:
        raise ValueError("faulty rows %s" % faulty[:3])
    return [row[1:6] + ["yes" if row[6] == "yes" else "no"] for row in sheet[1:]]


def read(path):
    ws = openpyxl.load_workbook(path).worksheets[0]
    return sum(len(str(c.value or "")) for row in ws.iter_rows(max_row=ROWS, max_col=COLUMNS)
               for c in row)


def runs_ms(work):
    times = []
    for _ in range(RUNS):
        start = time.perf_counter()
        work()
        times.append((time.perf_counter() - start) * 1000)
    return times


def ours(executable):
    output = subprocess.run([executable, "--benchmark_format=json",
                             "--benchmark_repetitions=%d" % RUNS],
                            check=True, capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(output)["benchmarks"]:
        if b.get("run_type") == "iteration":
            times.setdefault(b["run_name"], []).append(b["real_time"])
    return times


def stats(times):
    return sum(times) / len(times), min(times), max(times)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    executable = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        root, "build", "release", "bench", "bench_workbook")
    mine = ours(executable)
    rows = table()
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "list.xlsx")
        theirs = {"BM_ExportListWorkbook": runs_ms(lambda: export(rows, path)),
                  "BM_ImportListWorkbook": runs_ms(lambda: import_(path)),
                  "BM_ReadNumberListWorkbook": runs_ms(lambda: read(path))}
    print("3001 x 8, ms (%d runs)        ours mean/min/max        openpyxl mean/min/max   ratio"
          % RUNS)
    for name in ("BM_ExportListWorkbook", "BM_ImportListWorkbook", "BM_ReadNumberListWorkbook",
                 "BM_ExportListCsv"):
        line = "%-26s %7.2f /%6.2f /%6.2f" % ((name[3:],) + stats(mine[name]))
        if name in theirs:
            line += "   %8.1f /%6.1f /%6.1f %6.1fx" % (stats(theirs[name]) + (
                stats(theirs[name])[0] / stats(mine[name])[0],))
        print(line)


if __name__ == "__main__":
    main()

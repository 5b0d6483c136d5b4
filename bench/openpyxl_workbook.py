#!/usr/bin/python3
"""The number list workbook (3001 rows of 8 text cells, each with the Text format) written and
read with openpyxl, side by side with our bench_workbook, and the ratio of the two.

Usage: /usr/bin/python3 bench/openpyxl_workbook.py [PATH/TO/bench_workbook]
(default build/release/bench/bench_workbook)."""
import json
import os
import subprocess
import sys
import tempfile
import time

import openpyxl

ROWS, COLUMNS = 3001, 8
HEADING = ["Serial", "Authorized number", "Start Date", "Start Time ", "End Date", "End Time",
           "Always(V)", "Delete(V)"]


def cell(row, column):
    if row == 1:
        return HEADING[column - 1]
    return [str(row - 1), "+49301%06d" % row, "2024/05/17", "08:00", "2024/12/31", "18:00",
            "yes" if row % 7 == 0 else "no", "yes" if row % 7 == 0 else "no"][column - 1]


def write(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    for letter, width in zip("ABCDEF", [4, 20, 16, 16, 16, 16]):
        ws.column_dimensions[letter].width = width
    for r in range(1, ROWS + 1):
        for c in range(1, COLUMNS + 1):
            target = ws.cell(row=r, column=c)
            target.number_format = "@"
            target.value = cell(r, c)
    wb.save(path)


def read(path):
    ws = openpyxl.load_workbook(path).worksheets[0]
    return sum(len(str(c.value or "")) for row in ws.iter_rows(max_row=ROWS, max_col=COLUMNS)
               for c in row)


def mean_ms(work, repeats=5):
    """Mean wall-clock and CPU milliseconds, as Google Benchmark reports them."""
    wall = cpu = 0.0
    for _ in range(repeats):
        wall_start, cpu_start = time.perf_counter(), time.process_time()
        work()
        wall += time.perf_counter() - wall_start
        cpu += time.process_time() - cpu_start
    return wall * 1000 / repeats, cpu * 1000 / repeats


def ours(executable):
    output = subprocess.run([executable, "--benchmark_format=json"], check=True,
                            capture_output=True, text=True).stdout
    times = {b["name"]: (b["real_time"], b["cpu_time"]) for b in json.loads(output)["benchmarks"]}
    return times["BM_WriteNumberListWorkbook"], times["BM_ReadNumberListWorkbook"]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    executable = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        root, "build", "release", "bench", "bench_workbook")
    our_write, our_read = ours(executable)
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "list.xlsx")
        their_write = mean_ms(lambda: write(path))
        their_read = mean_ms(lambda: read(path))
    print("3001 x 8 text cells   ours wall/cpu (ms)   openpyxl wall/cpu (ms)   ratio wall/cpu")
    for name, mine, theirs in (("write", our_write, their_write), ("read", our_read, their_read)):
        print("%-20s %9.1f /%6.1f %13.1f /%6.1f %12.1fx /%5.1fx" % (
            name, mine[0], mine[1], theirs[0], theirs[1], theirs[0] / mine[0],
            theirs[1] / mine[1]))


if __name__ == "__main__":
    main()

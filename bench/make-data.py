#!/usr/bin/env python3
"""Writes the data sets bench/run.sh measures on. Deterministic: same arguments, same bytes.

    make-data.py series DIR FILES ROWS [SHAPE]
                                         FILES files 1.txt.. of ROWS rows each, written in
                                         SHAPE: bench (the default), instrument, export,
                                         columns or gaps (see SHAPES)
    make-data.py large DIR BYTES KEY     one file 1.txt of about BYTES bytes; KEY begins
                                         exactly one line, near the end, with no exact hit
    make-data.py empty DIR COUNT         COUNT empty files 1.txt..
    make-data.py huge DIR BYTES          one file 1.txt of about BYTES bytes in the
                                         instrument shape, x ascending, a whole number
                                         of thousands of rows, and DIR/area, the
                                         trapezoidal area under its cells over all of x

Rows look like "1000.000 12.345\r\n" (17 bytes). Within a file the first column counts up
from 1000.000 in steps of 0.001, so every value is unique there and a key such as 1100.000
has exactly one exact hit per file (and no other line begins with it). Each file starts with
three GBK header lines.
"""

import sys
from pathlib import Path

ENCODING = "gbk"


def header(file_no: int) -> bytes:
    lines = [
        f"样品编号：BENCH-{file_no:04d}",
        "测量日期：2024-05-01 08:00   仪器：模拟数据",
        "列：波长(nm) 强度(a.u.)",
    ]
    return "".join(line + "\r\n" for line in lines).encode(ENCODING)


def first_column(rows: int) -> list[bytes]:
    return [b"%d.%03d " % (1000 + i // 1000, i % 1000) for i in range(rows)]


# 1009 (prime) second-column values 10.000..99.999, rotated per file so files differ.
SECOND = [b"%d.%03d\r\n" % (10 + (i * 7919) % 90, (i * 104729) % 1000) for i in range(1009)]


def second_column(file_no: int, rows: int) -> list[bytes]:
    shift = (file_no * 37) % len(SECOND)
    rotated = SECOND[shift:] + SECOND[:shift]
    repeats = rows // len(rotated) + 1
    return (rotated * repeats)[:rows]


# The same x written as other programs write it, with cells of varying width:
# instrument  "1000.007\t323.8320\r\n"  x at three decimals, a tab, cells of 1 to 3 whole digits
# export      "1000.01,2.306\n"          x and cells at their shortest, commas, LF
# columns     "1000.007\t1.25\t323.8320\t0.5\n"  four columns, the cell in the third
# gaps        as instrument, with "n/a" for every 53rd cell, where an instrument had no reading
CELLS = [b"%d.%04d" % ((i * 7919) % 10 ** (1 + i % 3), (i * 104729) % 10000) for i in range(1009)]


def shortest(text: bytes) -> bytes:
    return text.rstrip(b"0").rstrip(b".") if b"." in text else text


def shaped_rows(shape: str, file_no: int, rows: int) -> list[bytes]:
    shift = (file_no * 37) % len(CELLS)
    cells = CELLS[shift:] + CELLS[:shift]
    out = []
    for i in range(rows):
        x = b"%d.%03d" % (1000 + i // 1000, i % 1000)
        cell = cells[i % len(cells)]
        if shape == "instrument":
            out.append(x + b"\t" + cell + b"\r\n")
        elif shape == "gaps":
            out.append(x + b"\t" + (b"n/a" if i % 53 == 0 else cell) + b"\r\n")
        elif shape == "export":
            out.append(shortest(x) + b"," + shortest(cell[:-1]) + b"\n")
        else:
            out.append(x + b"\t1.25\t" + cell + b"\t0.5\n")
    return out


def write_series(folder: Path, files: int, rows: int, shape: str = "bench") -> None:
    folder.mkdir(parents=True, exist_ok=True)
    firsts = first_column(rows)
    for file_no in range(1, files + 1):
        if shape == "bench":
            body = b"".join(map(bytes.__add__, firsts, second_column(file_no, rows)))
        else:
            body = b"".join(shaped_rows(shape, file_no, rows))
        (folder / f"{file_no}.txt").write_bytes(header(file_no) + body)


def write_large(folder: Path, size: int, key: str) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    rows = max(2, (size - len(header(1))) // 17)
    firsts = first_column(rows)
    # The one line that begins with the key: a digit follows it, so it is a prefix hit only.
    firsts[-2] = key.encode("ascii") + b"7 "
    body = b"".join(map(bytes.__add__, firsts, second_column(1, rows)))
    (folder / "1.txt").write_bytes(header(1) + body)


def write_huge(folder: Path, size: int) -> None:
    # The lines of shaped_rows("instrument", 1, ...), written a thousand at a time (x from
    # N.000 to N.999), so that a file of a gigabyte is never held whole. Beside it, in the file
    # "area", the trapezoidal area under the cells over all of x, worked out exactly: with x in
    # steps of 0.001 it is 0.001 * (the cells' sum less half the first and the last cell).
    folder.mkdir(parents=True, exist_ok=True)
    shift = 37 % len(CELLS)
    rotated = CELLS[shift:] + CELLS[:shift]
    cells = [cell + b"\r\n" for cell in rotated] * 2
    ten_thousandths = [int(cell.replace(b".", b"")) for cell in rotated] * 2  # in units of 0.0001
    fractions = [b".%03d\t" % i for i in range(1000)]
    total = 0
    with open(folder / "1.txt", "wb") as out:
        written = out.write(header(1))
        whole, first = 1000, 0
        while written < size:
            xs = map((b"%d" % whole).__add__, fractions)
            written += out.write(b"".join(map(bytes.__add__, xs, cells[first:first + 1000])))
            total += sum(ten_thousandths[first:first + 1000])
            last = ten_thousandths[first + 999]
            whole, first = whole + 1, (first + 1000) % len(CELLS)
    # In units of 0.001 * 0.0001 / 2 = 1e-8; none without lines.
    area = (2 * total - ten_thousandths[0] - last) * 5 if whole > 1000 else 0
    (folder / "area").write_text(f"{area // 10 ** 8}.{area % 10 ** 8:08d}\n")


def write_empty(folder: Path, count: int) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    for file_no in range(1, count + 1):
        (folder / f"{file_no}.txt").touch()


def main(argv: list[str]) -> int:
    if len(argv) in (5, 6) and argv[1] == "series":
        write_series(Path(argv[2]), int(argv[3]), int(argv[4]), *argv[5:])
    elif len(argv) == 5 and argv[1] == "large":
        write_large(Path(argv[2]), int(argv[3]), argv[4])
    elif len(argv) == 4 and argv[1] == "empty":
        write_empty(Path(argv[2]), int(argv[3]))
    elif len(argv) == 4 and argv[1] == "huge":
        write_huge(Path(argv[2]), int(argv[3]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

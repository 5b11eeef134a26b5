#!/usr/bin/env python3
"""Writes the data sets bench/run.sh measures on. Deterministic: same arguments, same bytes.

    make-data.py series DIR FILES ROWS   FILES files 1.txt.. of ROWS rows each
    make-data.py large DIR BYTES KEY     one file 1.txt of about BYTES bytes; KEY begins
                                         exactly one line, near the end, with no exact hit
    make-data.py empty DIR COUNT         COUNT empty files 1.txt..

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


def write_series(folder: Path, files: int, rows: int) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    firsts = first_column(rows)
    for file_no in range(1, files + 1):
        body = b"".join(map(bytes.__add__, firsts, second_column(file_no, rows)))
        (folder / f"{file_no}.txt").write_bytes(header(file_no) + body)


def write_large(folder: Path, size: int, key: str) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    rows = max(2, (size - len(header(1))) // 17)
    firsts = first_column(rows)
    # The one line that begins with the key: a digit follows it, so it is a prefix hit only.
    firsts[-2] = key.encode("ascii") + b"7 "
    body = b"".join(map(bytes.__add__, firsts, second_column(1, rows)))
    (folder / "1.txt").write_bytes(header(1) + body)


def write_empty(folder: Path, count: int) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    for file_no in range(1, count + 1):
        (folder / f"{file_no}.txt").touch()


def main(argv: list[str]) -> int:
    if len(argv) == 5 and argv[1] == "series":
        write_series(Path(argv[2]), int(argv[3]), int(argv[4]))
    elif len(argv) == 5 and argv[1] == "large":
        write_large(Path(argv[2]), int(argv[3]), argv[4])
    elif len(argv) == 4 and argv[1] == "empty":
        write_empty(Path(argv[2]), int(argv[3]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

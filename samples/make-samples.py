#!/usr/bin/env python3
"""Writes the bundled sample series: twelve absorption spectra of one sample batch.

Each file is what the spectrometer's export gives us: three GBK header lines, then one row
per wavelength step (400.0 nm to 700.0 nm in 0.5 nm steps), CR LF line ends. The intensities
come from a closed formula, so running this again gives byte-identical files.

    python3 samples/make-samples.py            # (re)write samples/series/
    python3 samples/make-samples.py --check    # exit 1 if samples/series/ differs from what we'd write
"""

import argparse
import math
import sys
from pathlib import Path

SERIES_DIR = Path(__file__).resolve().parent / "series"
FILE_COUNT = 12
FIRST_NM = 400.0
LAST_NM = 700.0
STEP_NM = 0.5
ENCODING = "gbk"
EOL = "\r\n"

# Files whose rows use a tab instead of a space between the columns, as the older
# instrument exports them.
TAB_SEPARATED = {4, 9}
# Files that carry a third column (standard deviation of the averaged scans).
WITH_DEVIATION = {7, 11}


def intensity(file_no: int, nm: float) -> float:
    """Two absorption bands plus a slow baseline; band height and position drift per file."""
    drift = 0.8 * (file_no - 6)
    band1 = (0.55 + 0.03 * file_no) * math.exp(-(((nm - 520.0 - drift) / 28.0) ** 2))
    band2 = (0.30 - 0.01 * file_no) * math.exp(-(((nm - 615.0 + drift) / 18.0) ** 2))
    baseline = 0.02 + 0.00004 * (nm - FIRST_NM)
    ripple = 0.003 * math.sin(nm * 0.37 + file_no)
    return max(0.0, band1 + band2 + baseline + ripple)


def header_lines(file_no: int) -> list[str]:
    return [
        f"样品编号：KS-0417-{file_no:02d}   操作员：实验室二组",
        f"测量日期：2024-04-17 {9 + file_no // 4:02d}:{(file_no * 7) % 60:02d}   仪器：2号分光光度计",
        "列：波长(nm) 强度(a.u.)" + (" 标准差" if file_no in WITH_DEVIATION else ""),
    ]


def data_rows(file_no: int) -> list[str]:
    separator = "\t" if file_no in TAB_SEPARATED else " "
    steps = round((LAST_NM - FIRST_NM) / STEP_NM)
    rows = []
    for step in range(steps + 1):
        nm = FIRST_NM + step * STEP_NM
        row = f"{nm:.1f}{separator}{intensity(file_no, nm):.4f}"
        if file_no in WITH_DEVIATION:
            row += f"{separator}{0.0008 + 0.0002 * ((step * 7 + file_no) % 5):.4f}"
        rows.append(row)
    return rows


def file_bytes(file_no: int) -> bytes:
    lines = header_lines(file_no) + data_rows(file_no)
    return "".join(line + EOL for line in lines).encode(ENCODING)


def expected_series() -> dict[str, bytes]:
    return {f"{n}.txt": file_bytes(n) for n in range(1, FILE_COUNT + 1)}


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare samples/series/ with the generated content instead of writing it")
    args = parser.parse_args()

    series = expected_series()
    if args.check:
        present = {p.name for p in SERIES_DIR.glob("*") if p.is_file()}
        stale = sorted(present - series.keys())
        differing = [name for name, data in series.items()
                     if not (SERIES_DIR / name).is_file() or (SERIES_DIR / name).read_bytes() != data]
        for name in stale:
            print(f"unexpected file: {SERIES_DIR / name}", file=sys.stderr)
        for name in differing:
            print(f"out of date: {SERIES_DIR / name}", file=sys.stderr)
        return 1 if stale or differing else 0

    SERIES_DIR.mkdir(parents=True, exist_ok=True)
    for name, data in series.items():
        (SERIES_DIR / name).write_bytes(data)
    print(f"wrote {len(series)} files to {SERIES_DIR}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

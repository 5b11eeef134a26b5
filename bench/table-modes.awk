# Straightforward awk take on the other modes of `kesmaro-cli table`, used by bench/run.sh as the
# "what a script would do" baseline and as an independent check of the CLI's table.
#
#   LC_ALL=C gawk -v mode=nearest|interpolate|area|max -v skip=3 -v items="..." -f bench/table-modes.awk FILE...
#
# The files must be given in series order. Fields are split as table.awk splits them, and a line
# counts when its first field is wholly a decimal number; its second field is its cell.
# - nearest: items are values X; the line whose first field is nearest to X (the first of equally
#   near ones) gives its cell, and a column "X x" its first field as written.
# - interpolate: items are values X; the first line whose first field is X gives its cell, or the
#   first two consecutive lines either side of X give y at X on the line between them.
# - area: items are area:X1:X2; the trapezoidal area over the lines with X1 <= x <= X2 and a
#   number for a cell, in order of x, cut at an end where the data go on past it.
# - max: items are max:X1:X2; the largest cell of those lines as written (the first of equal
#   ones), and a column "max:X1:X2 x" of its first field.
# Computed cells are written with 17 significant digits; bench/run.sh compares them to 12.

BEGIN {
    RS = "\r\n|\r|\n"
    FS = "[ \t,;]+"
    ORS = ""
    count = split(items, item, " ")
    number = "^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?$"
    printf "file"
    for (i = 1; i <= count; i++) {
        printf ",%s", item[i]
        if (mode == "nearest" || mode == "max")
            printf ",%s x", item[i]
        if (mode == "area" || mode == "max") {
            split(item[i], part, ":")
            lo[i] = part[2] + 0
            hi[i] = part[3] + 0
            if (lo[i] > hi[i]) { t = lo[i]; lo[i] = hi[i]; hi[i] = t }
        } else {
            target[i] = item[i] + 0
        }
    }
    printf "\r\n"
}

FNR == 1 {
    if (NR > 1)
        row()
    stem = FILENAME
    sub(/.*\//, "", stem)
    stem = substr(stem, 1, length(stem) - 4)
    split("", chosen); split("", cell); split("", first); split("", best)
    split("", n); split("", px); split("", py); split("", below); split("", above); split("", bx); split("", ax)
    held = 0
}

FNR > skip {
    if (/^[ \t,;]/)
        sub(/^[ \t,;]+/, "")
    if ($1 !~ number)
        next
    v = $1 + 0
    c = 2 <= NF ? $2 : ""
    if (mode == "nearest") {
        for (i = 1; i <= count; i++) {
            d = v > target[i] ? v - target[i] : target[i] - v
            if (!(i in chosen) || d < best[i]) {
                chosen[i] = 1; best[i] = d; cell[i] = c; first[i] = $1
            }
        }
    } else if (mode == "interpolate") {
        for (i = 1; i <= count; i++) {
            if (i in chosen)
                continue
            if (v == target[i]) {
                chosen[i] = 1; cell[i] = c
            } else if (held && ((pv < target[i] && target[i] < v) || (v < target[i] && target[i] < pv))) {
                chosen[i] = 1
                cell[i] = pnum && c ~ number ? sprintf("%.17g", py0 + (c - py0) * ((target[i] - pv) / (v - pv))) : ""
            }
        }
        held = 1; pv = v; py0 = c + 0; pnum = c ~ number
    } else {
        if (c !~ number)
            next
        y = c + 0
        for (i = 1; i <= count; i++) {
            if (v < lo[i]) {
                if (!(i in below) || v > bx[i]) { below[i] = y; bx[i] = v }
            } else if (v > hi[i]) {
                if (!(i in above) || v < ax[i]) { above[i] = y; ax[i] = v }
            } else if (mode == "max") {
                if (!(i in chosen) || y > best[i]) { chosen[i] = 1; best[i] = y; cell[i] = c; first[i] = $1 }
            } else {
                k = ++n[i]; px[i, k] = v; py[i, k] = y
            }
        }
    }
}

END {
    if (NR > 0)
        row()
}

function area(i,    k, m, xs, order, j, lastx, lasty, sum, x, y) {
    m = n[i]
    if (m == 0)
        return ""
    for (k = 1; k <= m; k++)
        xs[k] = px[i, k]
    # Indices in order of x, equal x in file order.
    for (k = 1; k <= m; k++)
        order[k] = k
    for (k = 2; k <= m; k++) {
        j = order[k]
        for (x = k - 1; x >= 1 && xs[order[x]] > xs[j]; x--)
            order[x + 1] = order[x]
        order[x + 1] = j
    }
    lastx = xs[order[1]]; lasty = py[i, order[1]]
    if ((i in below) && lastx > lo[i]) {
        lasty = below[i] + (lasty - below[i]) * ((lo[i] - bx[i]) / (lastx - bx[i])); lastx = lo[i]
    }
    sum = 0
    for (k = 1; k <= m; k++) {
        x = xs[order[k]]; y = py[i, order[k]]
        sum += (x - lastx) * (lasty + y) / 2
        lastx = x; lasty = y
    }
    if ((i in above) && lastx < hi[i]) {
        y = lasty + (above[i] - lasty) * ((hi[i] - lastx) / (ax[i] - lastx))
        sum += (hi[i] - lastx) * (lasty + y) / 2
    }
    return sprintf("%.17g", sum)
}

function row(    i) {
    printf "%s", csv(stem)
    for (i = 1; i <= count; i++) {
        if (mode == "area")
            printf ",%s", area(i)
        else
            printf ",%s", csv(i in cell ? cell[i] : "")
        if (mode == "nearest" || mode == "max")
            printf ",%s", csv(i in first ? first[i] : "")
    }
    printf "\r\n"
}

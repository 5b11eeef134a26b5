# Straightforward awk take on `kesmaro-cli table`, used by bench/run.sh as the "what a script
# would do" baseline and as an independent check of the CLI's table.
#
#   LC_ALL=C gawk -v skip=3 -v values="550 600.5" [-v column=2] -f bench/table.awk FILE... > t.csv
#
# The files must be given in series order. For every value, the first line past the header
# lines whose first field is a decimal number equal to it gives its cell: field `column` of that
# line. Fields are separated by runs of spaces, tabs, commas and semicolons; lines end at CR LF,
# LF or a lone CR. The output is CSV with CR LF rows: `file,X1,X2,...`, then a row per file.

BEGIN {
    RS = "\r\n|\r|\n"
    FS = "[ \t,;]+"
    ORS = ""
    if (column == "")
        column = 2
    count = split(values, value, " ")
    number = "^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?$"
    printf "file"
    for (i = 1; i <= count; i++) {
        target[i] = value[i] + 0
        printf ",%s", csv(value[i])
    }
    printf "\r\n"
}

FNR == 1 {
    if (NR > 1)
        row()
    stem = FILENAME
    sub(/.*\//, "", stem)
    stem = substr(stem, 1, length(stem) - 4)
    split("", chosen)
    split("", cell)
}

FNR > skip {
    if (/^[ \t,;]/) {
        sub(/^[ \t,;]+/, "")  # leading separators begin no field
    }
    if ($1 !~ number)
        next
    v = $1 + 0
    for (i = 1; i <= count; i++) {
        if (!(i in chosen) && v == target[i]) {
            chosen[i] = 1
            cell[i] = column <= NF ? $column : ""
        }
    }
}

END {
    if (NR > 0)
        row()
}

function row(    i) {
    printf "%s", csv(stem)
    for (i = 1; i <= count; i++)
        printf ",%s", csv(i in cell ? cell[i] : "")
    printf "\r\n"
}

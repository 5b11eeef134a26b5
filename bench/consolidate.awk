# Straightforward awk take on kesmaro's consolidation, used by bench/run.sh as the "what a
# script would do" baseline and as an independent check of the CLI's output.
#
#   LC_ALL=C gawk -v key=550.0 -v skip=3 -v enc=gbk -f bench/consolidate.awk FILE... > out.txt
#
# The files must be given in series order (by their leading number). Rows are printed as
# "STEM remainder\r\n". LC_ALL=C makes gawk work on bytes, which is how the key is compared.
#
# Lines end at CR LF, LF or a lone CR. Records are read up to LF; a record that holds a CR
# anywhere but at its end is split into several lines.
#
# Numeric characters are the single bytes 0-9 and '.'; every other character separates. In
# GBK (enc=gbk) a lead byte 0x81-0xFE followed by a trail byte 0x40-0xFE (not 0x7F) is one
# double-byte character, so a separator of that kind is two bytes wide.

BEGIN {
    RS = "\n"
    ORS = ""
    klen = length(key)
    if (klen == 0) {
        print "consolidate.awk: empty key\n" > "/dev/stderr"
        exit 2
    }
    double_byte = (tolower(enc) == "gbk" || tolower(enc) == "cp936")
    for (i = 0; i < 256; i++)
        ord[sprintf("%c", i)] = i
    exact_found = 0
}

FNR == 1 {
    stem = FILENAME
    sub(/.*\//, "", stem)
    stem = substr(stem, 1, length(stem) - 4)
    line_no = 0
}

{
    # Usually the record is one line, ending in CR or not.
    cr = index($0, "\r")
    if (cr == 0 || cr == length($0)) {
        if (++line_no > skip && index($0, key) == 1)
            take_line(cr ? substr($0, 1, cr - 1) : $0)
        next
    }
    record = $0
    if (substr(record, length(record)) == "\r")
        record = substr(record, 1, length(record) - 1)
    n = split(record, parts, "\r")
    for (p = 1; p <= n; p++)
        if (++line_no > skip && index(parts[p], key) == 1)
            take_line(parts[p])
}

# A line past the header that begins with the key.
function take_line(line,    at, width) {
    if (length(line) > klen) {
        width = separator_width(line, klen + 1)
        if (width > 0) {
            printf "%s %s\r\n", stem, substr(line, klen + 1 + width)
            exact_found = 1
            return
        }
    }
    if (exact_found)
        return
    if (match(line, /[^0-9.]/)) {
        at = RSTART
        printf "%s %s\r\n", stem, substr(line, at + separator_width(line, at))
    }
}

# Width in bytes of the separator character starting at byte `at`, or 0 when the character
# there is numeric.
function separator_width(line, at,    c, lead, trail) {
    c = substr(line, at, 1)
    if (c ~ /[0-9.]/)
        return 0
    if (!double_byte || at >= length(line))
        return 1
    lead = ord[c]
    trail = ord[substr(line, at + 1, 1)]
    if (lead >= 129 && lead <= 254 && trail >= 64 && trail <= 254 && trail != 127)
        return 2
    return 1
}

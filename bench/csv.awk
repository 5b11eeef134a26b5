# One CSV field as the table writes it (RFC 4180): quoted only when it holds a comma, a quote
# or a line end, with its quotes doubled. Shared by table.awk and table-modes.awk.
function csv(field) {
    if (field !~ /[,"\r\n]/)
        return field
    gsub(/"/, "\"\"", field)
    return "\"" field "\""
}

# Writes a UTF-8 text file the way Windows' own Notepad reads it on every version from Windows 7
# on: CR LF line ends and a byte-order mark.
#   cmake -DIN=README.md -DOUT=README.txt -P WindowsText.cmake
file(READ ${IN} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE ${OUT} "${bom}${text}")

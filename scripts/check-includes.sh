#!/usr/bin/env bash
# The include check: every `#include "room/file.h"` of the tree's C++ files against the
# whiteboard of which rooms may include which (scripts/includes.txt). Prints each include across
# its lines, with the rule it breaks, and exits non-zero if there is one, or if one of the
# whiteboard's exceptions is no longer needed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
board=scripts/includes.txt

declare -A may exceptions=() used=()
test_rooms=
while IFS= read -r line; do
  line=${line%%#*}
  [[ $line =~ ^[[:space:]]*$ ]] && continue
  if [[ $line =~ ^except\ +([^:]+):\ *([^ ]+)\ *$ ]]; then
    exceptions["${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"]=1
  elif [[ $line =~ ^\*_test\.cpp:\ *(.*)$ ]]; then
    test_rooms=${BASH_REMATCH[1]}
  elif [[ $line =~ ^([^:]+):\ *(.*)$ ]]; then
    may[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}
  else
    echo "check-includes: $board: cannot read: $line" >&2
    exit 2
  fi
done <"$board"

room_of() { # room_of PATH: the longest room that starts the path, or nothing
  local dir=${1%/*}
  while [[ $dir == */* && -z ${may[$dir]+set} ]]; do dir=${dir%/*}; done
  [[ -n ${may[$dir]+set} ]] && echo "$dir"
}

includes() { # every quoted include as FILE:LINE:TEXT: the tracked files, or all but build/'s
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git grep -n -E '^#include "' -- '*.cpp' '*.h' '*.h.in'
  else
    grep -rn -E '^#include "' --include='*.cpp' --include='*.h' --include='*.h.in' --exclude-dir=build . |
      sed 's|^\./||'
  fi
}

faults=0
count=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  number=${rest%%:*}
  [[ ${rest#*:} =~ ^#include\ \"([^\"]+)\" ]] || continue
  include=${BASH_REMATCH[1]}
  [[ $include == */* ]] || continue  # beside the file itself
  count=$((count + 1))
  from=$(room_of "$file") || {
    echo "$file:$number: includes $include, and $board has no line for its room"
    faults=$((faults + 1))
    continue
  }
  to=$(room_of "$include") || to=${include%%/*}
  allowed=" ${may[$from]} "
  [[ $file == *_test.cpp ]] && allowed+="$test_rooms "
  [[ $allowed == *" * "* || $allowed == *" $to "* ]] && continue
  if [[ -n ${exceptions["$file $include"]+set} ]]; then
    used["$file $include"]=1
    continue
  fi
  echo "$file:$number: includes $include (room $to): $from may include only: ${may[$from]}"
  faults=$((faults + 1))
done < <(includes)

for exception in "${!exceptions[@]}"; do
  if [[ -z ${used[$exception]+set} ]]; then
    echo "$board: 'except ${exception/ /: }' is no longer needed: remove it"
    faults=$((faults + 1))
  fi
done
if ((faults)); then
  echo "check-includes: $faults includes against $board"
  exit 1
fi
echo "check-includes: $count includes keep to $board (${#exceptions[@]} known exceptions)"

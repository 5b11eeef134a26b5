#!/usr/bin/env bash
# The format gate: every C++ file of the tree as clang-format lays it out under .clang-format.
# Prints each departure and exits non-zero if there is one; `clang-format-14 -i FILE` mends a file.
#
# The layout is clang-format 14's, Debian 12's (`clang-format-14`, or `clang-format` when that is
# version 14): other versions lay out the same .clang-format differently. Where only another
# version is found, the gate says so and passes without judging, rather than failing on layout
# it does not own.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

want=14
format=
for candidate in clang-format-$want clang-format; do
  if command -v "$candidate" >/dev/null 2>&1 &&
    [[ $("$candidate" --version) =~ version\ $want\. ]]; then
    format=$candidate
    break
  fi
done
if [[ -z $format ]]; then
  found=$(clang-format --version 2>/dev/null || echo "no clang-format")
  echo "check-format: SKIPPED, the layout is clang-format $want's and this machine has: $found"
  exit 0
fi

patterns=('*.cpp' '*.h' '*.h.in')
# The tracked files when this is a git checkout, otherwise every such file outside build/.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- "${patterns[@]}")
else
  names=()
  for pattern in "${patterns[@]}"; do names+=(-o -name "$pattern"); done
  mapfile -t files < <(find . -path ./build -prune -o -type f \( "${names[@]:1}" \) -print)
fi
"$format" --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files laid out as .clang-format says ($format)"

#!/usr/bin/env bash
# The format gate: every C++ file of the tree as clang-format lays it out under .clang-format.
# Prints each departure and exits non-zero if there is one; `clang-format -i FILE` mends a file.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

patterns=('*.cpp' '*.h' '*.h.in')
# The tracked files when this is a git checkout, otherwise every such file outside build/.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- "${patterns[@]}")
else
  names=()
  for pattern in "${patterns[@]}"; do names+=(-o -name "$pattern"); done
  mapfile -t files < <(find . -path ./build -prune -o -type f \( "${names[@]:1}" \) -print)
fi
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files laid out as .clang-format says"

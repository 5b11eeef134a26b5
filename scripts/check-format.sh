#!/usr/bin/env bash
# The format gate: every C++ file of the tree as clang-format lays it out under .clang-format.
# Prints each departure and exits non-zero if there is one; `clang-format -i FILE` mends a file.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# The tracked files when this is a git checkout, otherwise every C++ file outside build/.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.h.in')
else
  mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.h.in' \) -print)
fi
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files laid out as .clang-format says"

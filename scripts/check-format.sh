#!/usr/bin/env bash
# Fails when a C or C++ source of the repository is not formatted with the checked-in style.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files -- '*.cpp' '*.h' '*.c' '*.mm' 2>/dev/null || true)
[ -n "$files" ] || exit 0
bad=()
for f in $files; do
  [ -f "$f" ] || continue
  if ! clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done
if [ ${#bad[@]} -ne 0 ]; then
  echo "not formatted (run: clang-format -i <file>):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "formatting: $(echo "$files" | wc -w) files ok"

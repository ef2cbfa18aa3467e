#!/usr/bin/env bash
# Formats the tracked C++ sources and headers with clang-format-14 and the
# repository's .clang-format.
# Usage: scripts/format.sh          rewrite the files in place
#        scripts/format.sh --check  change nothing; list the files that would
#                                   change and fail when there are any
set -euo pipefail
cd "$(dirname "$0")/.."
fmt=${CLANG_FORMAT:-clang-format-14}
command -v "$fmt" >/dev/null || { echo "format.sh: $fmt not found" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.cc' '*.hpp')
[ ${#files[@]} -gt 0 ] || exit 0
if [ "${1:-}" = "--check" ]; then
  bad=0
  for f in "${files[@]}"; do
    if ! "$fmt" --style=file "$f" | cmp -s - "$f"; then
      echo "not formatted: $f"
      bad=1
    fi
  done
  exit $bad
elif [ $# -gt 0 ]; then
  echo "usage: scripts/format.sh [--check]" >&2
  exit 2
fi
"$fmt" --style=file -i "${files[@]}"

#!/usr/bin/env bash
# Fails, naming the files, when a source file is not as clang-format (with the
# repository's .clang-format) writes it. `make format` rewrites them.
set -u
cd "$(dirname "$0")/.."
clang_format="${1:-clang-format}"
if ! command -v "$clang_format" >/dev/null 2>&1; then
  echo "SKIPPED: $clang_format is not installed." >&2
  exit 77
fi
mapfile -d '' files < <(find src tests tools bench \( -name '*.cpp' -o -name '*.h' \) -print0)
unformatted=()
for file in "${files[@]}"; do
  if ! "$clang_format" --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done
if [ "${#unformatted[@]}" -ne 0 ]; then
  echo "Not formatted (run 'make format'):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "${#files[@]} files formatted."

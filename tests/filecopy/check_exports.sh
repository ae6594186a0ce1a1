#!/usr/bin/env bash
# check_exports.sh LIBRARY EXPECTED: the library's dynamic symbols, demangled,
# must be exactly the members listed in EXPECTED. Callers bind to these names,
# and nothing else may leak out of the library.
set -euo pipefail
lib=$1 expected=$2
actual=$(nm -D --defined-only "$lib" | awk '{ print $3 }' \
  | grep -vxE '_init|_fini|_edata|_end|__bss_start' | c++filt | sort -u)
if ! diff -u <(sort -u "$expected") <(printf '%s\n' "$actual"); then
  echo "exported symbols of $lib differ from $expected (- missing, + unexpected)"
  exit 1
fi
echo "exports of $(basename "$lib") match"

#!/usr/bin/env bash
# check_exports.sh LIBRARY: a language library exports its table function and
# nothing else.
set -euo pipefail
lib=$1
actual=$(nm -D --defined-only "$lib" | awk '{ print $3 }' \
  | grep -vxE '_init|_fini|_edata|_end|__bss_start' | sort -u)
if [ "$actual" != "MemorixResourceTable" ]; then
  echo "$(basename "$lib") exports:"
  printf '%s\n' "$actual"
  echo "expected MemorixResourceTable only"
  exit 1
fi
echo "exports of $(basename "$lib") match"

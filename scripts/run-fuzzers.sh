#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a short while (FUZZ_SECONDS, default 60 each).
set -euo pipefail
build=${1:-build-fuzz}
secs=${FUZZ_SECONDS:-60}
status=0
for f in "$build"/fuzz/fuzz_*; do
  case "$f" in *_replay) continue ;; esac
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus=fuzz-corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/seeds/$name
  echo "== $name (${secs}s)"
  if ! "$f" -max_total_time="$secs" -max_len=512 "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) 2>&1 | tail -n 3; then
    status=1
  fi
done
exit $status

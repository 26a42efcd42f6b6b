#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a short while (FUZZ_SECONDS, default 60 each), seeded
# from the kept corpus fuzz/corpus/<target>; new inputs collect in fuzz-corpus/<target>, crashing inputs
# in fuzz-crashes/. Target names after the build folder run only those.
set -uo pipefail
build=${1:-build-fuzz}
shift || true
secs=${FUZZ_SECONDS:-60}
status=0
mkdir -p fuzz-crashes
for f in "$build"/fuzz/fuzz_*; do
  case "$f" in *_replay) continue ;; esac
  [ -x "$f" ] || continue
  name=$(basename "$f")
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  corpus=fuzz-corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/corpus/$name
  [ -d "$seeds" ] || seeds=fuzz/seeds/$name
  log=fuzz-crashes/$name.log
  echo "== $name (${secs}s)"
  "$f" -max_total_time="$secs" -max_len=512 -artifact_prefix=fuzz-crashes/"$name"- \
    "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$log" 2>&1
  rc=$?
  grep -E '^(Done [0-9]+ runs|SUMMARY|==[0-9]+==ERROR)|runtime error' "$log" | head -n 5
  if [ $rc != 0 ]; then
    echo "   FAILED (exit $rc), see $log"
    status=1
  fi
done
exit $status

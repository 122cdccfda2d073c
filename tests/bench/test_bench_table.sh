#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/bench.sh and its table, with stand-in benchmarks that print RESULT lines at once:
# every benchmark runs whatever the ones before it did, the table lists them all, and the exit
# code follows the missed targets. No real benchmark runs here.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The table alone: input lines, expected exit code, texts the output must hold.
check_table() {
  local what=$1 input=$2 want_rc=$3 out rc
  shift 3
  set +e
  out=$(printf '%b' "$input" | "$root/scripts/benchtable.sh" 2>&1)
  rc=$?
  set -e
  [ "$rc" -eq "$want_rc" ] || fail "$what: exit $rc, expected $want_rc"$'\n'"$out"
  for text in "$@"; do
    grep -qF -- "$text" <<<"$out" || fail "$what: no '$text' in"$'\n'"$out"
  done
}
met='RESULT\tWriteAlbum\t8.000\tms\t7.000\t1.143x\tratio <= 1.5x\tmet\n'
missed='RESULT\tfrom memory\t3.000\tms\t90.000\t0.033x\t< 2 ms\tmissed\n'
info='RESULT\tslide change\t40.000\tms\t-\t-\t-\t-\n'
check_table "all met" "noise\n$met$info" 0 "WriteAlbum" "8.000 ms" "1.143x" "slide change" \
  "2 figures, 1 targets: 1 met, 0 missed"
check_table "one missed" "$met$missed$info" 1 "from memory" "missed" "1 met, 1 missed"
check_table "nothing ran" "build output only\n" 1 "No benchmark results"
check_table "unknown verdict" 'RESULT\tx\t1\tms\t-\t-\t< 1 ms\tmaybe\n' 1 "1 missed"

# The whole script over stand-ins: the first misses a target, the second crashes, the rest
# meet theirs.
stand_in() { # name, body
  printf '#!/bin/sh\necho "%s running"\n%s\n' "$1" "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
run_all() {
  set +e
  out=$(VIMBREL_BENCH_DIR="$work/bin" "$root/scripts/bench.sh" 2>&1)
  rc=$?
  set -e
}
mkdir "$work/bin"
# Every benchmark the script runs, as it names them: a new one needs no change here.
mapfile -t all < <(sed -n 's/^bench \(bench_[a-z]*\).*/\1/p' "$root/scripts/bench.sh")
[ "${#all[@]}" -ge 7 ] || fail "bench.sh names ${#all[@]} benchmarks"
for b in "${all[@]}"; do
  stand_in "$b" "printf 'RESULT\\t$b figure\\t1.000\\tms\\t2.000\\t0.500x\\tratio <= 1x\\tmet\\n'"
done
run_all
[ "$rc" -eq 0 ] || fail "all met: exit $rc"$'\n'"$out"
stand_in bench_pictures "printf 'RESULT\\tslow\\t9.000\\tms\\t1.000\\t9.000x\\tratio <= 1x\\tmissed\\n'; exit 1"
stand_in bench_albumfile 'kill -SEGV $$'
run_all
[ "$rc" -eq 1 ] || fail "missed and crashed: exit $rc, expected 1"
for b in "${all[@]}"; do
  grep -q "^$b running" <<<"$out" || fail "$b did not run"
done
for b in "${all[@]:2}"; do
  grep -q "^$b figure .* met$" <<<"$out" || fail "no table row of $b"
done
grep -q "^slow .* missed$" <<<"$out" || fail "no missed row"
grep -q "^bench_albumfile ended with status 139 .* missed$" <<<"$out" || fail "no row for the crash"
n=${#all[@]}
grep -q "$n figures, $n targets: $((n - 2)) met, 2 missed" <<<"$out" || fail "wrong summary"
grep -q $'^RESULT\t' <<<"$out" && fail "RESULT lines shown among the output"

# Every benchmark starts as the program does, with its memory tuning, so that it measures what
# users run: a benchmark without it times the C library mapping each picture buffer afresh.
for src in "$root"/bench/bench_*.cpp; do
  sed -n '/^int main(/{n;p;q}' "$src" | grep -q '^ *bench::startLikeTheProgram();' ||
    fail "$(basename "$src") does not start with bench::startLikeTheProgram()"
done

[ "$failures" -eq 0 ] || {
  echo "--- last run:"
  echo "$out"
  exit 1
}
echo "bench table: all checks passed"

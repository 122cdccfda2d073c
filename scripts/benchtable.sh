#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the benchmarks' RESULT lines (read from the files named, or from standard input; other
# lines are skipped) as one table, then how many targets were met and missed.
#   RESULT <tab> name <tab> figure <tab> unit <tab> reference <tab> ratio <tab> target <tab> verdict
# Exits 1 when a target was missed, or when there is no result at all (nothing ran).
set -euo pipefail

awk -F '\t' '
  $1 == "RESULT" {
    n++
    name[n] = $2
    fig[n] = ($3 == "-" ? "-" : $3 " " $4)
    ref[n] = ($5 == "-" ? "-" : $5 " " $4)
    ratio[n] = $6
    target[n] = $7
    verdict[n] = ($8 == "" ? "-" : $8)
    if (verdict[n] == "met") met++
    else if (verdict[n] == "missed") missed++
    else if (verdict[n] != "-") { verdict[n] = verdict[n] " (unknown: missed)"; missed++ }
  }
  function widen(col, text) { if (length(text) > w[col]) w[col] = length(text) }
  function row(a, b, c, d, e, f) {
    printf "%-" w[1] "s  %" w[2] "s  %" w[3] "s  %" w[4] "s  %-" w[5] "s  %s\n", a, b, c, d, e, f
  }
  END {
    if (n == 0) {
      print "No benchmark results: nothing ran to the end."
      exit 1
    }
    head[1] = "benchmark"; head[2] = "figure"; head[3] = "reference"; head[4] = "ratio"
    head[5] = "target"; head[6] = "result"
    for (c = 1; c <= 5; c++) widen(c, head[c])
    for (i = 1; i <= n; i++) {
      widen(1, name[i]); widen(2, fig[i]); widen(3, ref[i]); widen(4, ratio[i])
      widen(5, target[i])
    }
    print ""
    row(head[1], head[2], head[3], head[4], head[5], head[6])
    for (i = 1; i <= n; i++)
      row(name[i], fig[i], ref[i], ratio[i], target[i], verdict[i])
    printf "\n%d figures, %d targets: %d met, %d missed\n", n, met + missed, met + 0, missed + 0
    exit (missed > 0 ? 1 : 0)
  }
' "$@"

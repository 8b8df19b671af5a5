#!/usr/bin/env bash
# Writes starting inputs for store_fuzz into CORPUS: stores of 1, 23, 60 and
# 400 records made by telvara-store and one whose batch was killed part way,
# each as the fuzzer's input (the lengths
# of page and record file in two bytes each, the page file, the record file,
# the journal).
#   fuzz/make_seeds.sh TELVARA_STORE CORPUS
set -euo pipefail
tool=$1 corpus=$2
mkdir -p "$corpus"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in 1 23 60 400 kill; do
  mkdir "$work/$n"
  adds() {
    for ((i = 1; i <= $1; i++)); do
      printf 'add\tC%03d\t51R\t100\t10\t5\t3\t2.2\t1.8\t1.5\t0.05\t4\t40\n' $(((i * 37) % 997))
    done
  }
  if [ "$n" = kill ]; then
    # A batch killed part way: its journal may hold an operation to complete.
    adds 400 >"$work/ops"
    "$tool" "$work/$n" batch <"$work/ops" >/dev/null &
    sleep 0.5
    kill -9 $! 2>/dev/null || true
    wait $! 2>/dev/null || true
  else
    adds "$n" | "$tool" "$work/$n" batch >/dev/null
    # Some removals leave free pages and slots on their chains.
    for ((i = 1; i <= n / 3; i++)); do
      printf 'remove\tC%03d\t51R\n' $(((i * 74) % 997))
    done | "$tool" "$work/$n" batch >/dev/null
  fi
  le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
  { le16 "$(stat -c %s "$work/$n/ZuboK.dat")"
    le16 "$(stat -c %s "$work/$n/ZuboK.idx")"
    cat "$work/$n/ZuboK.dat" "$work/$n/ZuboK.idx"
    [ ! -e "$work/$n/ZuboK.jnl" ] || cat "$work/$n/ZuboK.jnl"; } >"$corpus/store-$n"
done

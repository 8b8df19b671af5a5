#!/usr/bin/env bash
# The Windows tools under Wine against the Linux ones, on real stores:
#   tests/windows/tools.sh LINUX_TOOLS_DIR WINDOWS_TOOLS_DIR [HELPERS_DIR]
# Needs WINEPREFIX and TELVARA_WINE (the wine64 program) in the environment;
# scripts/test-windows.sh sets them. Each check prints one line; the first
# difference stops the run with status 1.
set -euo pipefail
LIN=$(realpath "$1")
WIN=$(realpath "$2")
HELPERS=$(realpath "${3:-$2/../tests/windows}")
WINE=${TELVARA_WINE:?TELVARA_WINE names the wine program}
EXAMPLES=$(realpath "$(dirname "$0")/../../examples")
export LC_ALL=C.UTF-8 # Wine hands Unix arguments on as UTF-8 under this locale

WORK=$(realpath "$2/..")/tool-checks
rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK" # relative paths mean the same to both tools

fail() { echo "FAILED: $*" >&2; exit 1; }
ok() { echo "ok   $*"; }
lin() { "$LIN/$1" "${@:2}"; }
# A Windows tool.
win() { "$WINE" "$WIN/$1.exe" "${@:2}"; }
same() { # same FILE_A FILE_B WHAT
  cmp -s "$1" "$2" || { diff <(od -An -tx1 "$1") <(od -An -tx1 "$2") | head -5; fail "$3"; }
}


LDIR=linux
WDIR="保護協調 windows" # a Japanese folder name, with a space, on the command line
mkdir -p "$LDIR" "$WDIR"

# 1. A batch of adds and removes: the same bytes in both stores.
{
  for i in $(seq 1 60); do
    printf 'add\t第%02d変電所\t51R-%d\t100\t2.5\t2.0\t1.5\t1.2\t1.0\t0.8\t0.05\t4\t40\n' "$i" "$i"
    printf 'add\tｸﾞﾗﾌ%02d\t51G\t200\t3\t2.5\t2\t1.5\t1.2\t1\t0.04\t5\t50\n' "$i"
  done
  for i in $(seq 3 3 60); do
    printf 'remove\t第%02d変電所\t51R-%d\n' "$i" "$i"
  done
  for i in $(seq 2 4 60); do
    printf 'remove\tｸﾞﾗﾌ%02d\t51G\n' "$i"
  done
  printf 'find\t第01変電所\t51R-1\nfind\t第03変電所\t51R-3\n'
} >batch.txt
lin telvara-store "$LDIR" batch <batch.txt >batch-linux.out
win telvara-store "$WDIR" batch <batch.txt >batch-windows.out
same batch-linux.out batch-windows.out "batch output"
same "$LDIR/ZuboK.dat" "$WDIR/ZuboK.dat" "ZuboK.dat after the batch"
same "$LDIR/ZuboK.idx" "$WDIR/ZuboK.idx" "ZuboK.idx after the batch"
ok "batch of $(wc -l <batch.txt) adds, removes and finds: ZuboK.dat and ZuboK.idx byte-identical"

# 2. Reading commands on each other's store.
lin telvara-store "$WDIR" list >list-linux.out
win telvara-store "$LDIR" list >list-windows.out
same list-linux.out list-windows.out "list"
win telvara-store "$WDIR" find 第05変電所 51R-5 >find-windows.out
lin telvara-store "$LDIR" find 第05変電所 51R-5 >find-linux.out
same find-linux.out find-windows.out "find"
ok "list and find agree ($(wc -l <list-linux.out) records)"

# 3. check.
lin telvara-store "$LDIR" check >check-linux.out
win telvara-store "$WDIR" check >check-windows.out
same check-linux.out check-windows.out "check"
grep -q '^問題ありません' check-windows.out || fail "check: $(cat check-windows.out)"
ok "check: $(cat check-windows.out)"

# 4. CSV export and import.
lin telvara-store "$LDIR" export export-linux.csv
win telvara-store "$WDIR" export "書き出し.csv"
same export-linux.csv "書き出し.csv" "CSV export"
mkdir -p import-linux "取り込み windows"
lin telvara-store import-linux import export-linux.csv >import-linux.out
win telvara-store "取り込み windows" import "書き出し.csv" >import-windows.out
same import-linux.out import-windows.out "CSV import report"
same import-linux/ZuboK.dat "取り込み windows/ZuboK.dat" "ZuboK.dat after the import"
same import-linux/ZuboK.idx "取り込み windows/ZuboK.idx" "ZuboK.idx after the import"
ok "CSV export byte-identical; import gives the same store ($(cat import-windows.out))"

# 5. telvara-check on a store.
status_l=0; status_w=0
lin telvara-check "$LDIR" --cti 0.3 --fault-current 3000 >tcheck-linux.out || status_l=$?
win telvara-check "$WDIR" --cti 0.3 --fault-current 3000 >tcheck-windows.out || status_w=$?
same tcheck-linux.out tcheck-windows.out "telvara-check on a store"
[ "$status_l" = "$status_w" ] || fail "telvara-check status $status_w, Linux $status_l"
ok "telvara-check on a store: $(wc -l <tcheck-windows.out) pairs, status $status_w as on Linux"

# 5b. telvara-check on a study (the example, under a Japanese name).
cp "$EXAMPLES/substation.tvstudy" "変電所.tvstudy"
status_l=0; status_w=0
lin telvara-check "変電所.tvstudy" >scheck-linux.out || status_l=$?
win telvara-check "変電所.tvstudy" >scheck-windows.out || status_w=$?
same scheck-linux.out scheck-windows.out "telvara-check on a study"
[ "$status_l" = "$status_w" ] || fail "telvara-check on a study: status $status_w, Linux $status_l"
[ -s scheck-windows.out ] || fail "telvara-check on a study printed nothing"
ok "telvara-check on a study: $(wc -l <scheck-windows.out) lines, status $status_w as on Linux"

# 6. A lock held by one Wine process makes another wait, then give up.
hold() { # hold MS: the writer's lock of $WDIR held for MS ms in the background
  rm -f held.txt
  "$WINE" "$HELPERS/telvara-hold-lock.exe" "$WDIR" "$1" >held.txt 2>&1 &
  HOLDER=$!
  for _ in $(seq 1 300); do
    grep -q locked held.txt 2>/dev/null && return 0
    sleep 0.1
  done
  fail "the lock holder did not start: $(cat held.txt)"
}
hold 4000
status=0
TELVARA_LOCK_WAIT_MS=1000 win telvara-store "$WDIR" remove 第01変電所 51R-1 \
  2>busy.err >/dev/null || status=$?
wait "$HOLDER"
[ "$status" = 2 ] || fail "a busy store gave status $status"
grep -q "ほかのプログラムがストア ${WDIR}/ を使っています（1 秒待ちました）" busy.err ||
  fail "busy message: $(cat busy.err)"
same "$LDIR/ZuboK.dat" "$WDIR/ZuboK.dat" "ZuboK.dat after a refused remove"
ok "a busy store: status 2 after 1 s with \"$(cat busy.err)\""
hold 2500
start=$(date +%s%N)
win telvara-store "$WDIR" remove 第01変電所 51R-1
waited=$((($(date +%s%N) - start) / 1000000))
wait "$HOLDER"
[ "$waited" -ge 1000 ] || fail "the remove did not wait for the lock (${waited} ms)"
lin telvara-store "$LDIR" remove 第01変電所 51R-1
same "$LDIR/ZuboK.dat" "$WDIR/ZuboK.dat" "ZuboK.dat after a remove that waited"
same "$LDIR/ZuboK.idx" "$WDIR/ZuboK.idx" "ZuboK.idx after a remove that waited"
ok "a remove waited ${waited} ms for another process's lock, then gave the Linux bytes"

# 7. A link in place of the journal is refused (when Wine shows it as one).
mkdir -p linked
lin telvara-store linked add A 1 100 2.5 2.0 1.5 1.2 1.0 0.8 0.05 4 40
cp "$LDIR/ZuboK.jnl" victim.jnl
rm linked/ZuboK.jnl
ln -s ../victim.jnl linked/ZuboK.jnl
status=0
win telvara-store linked remove A 1 >/dev/null 2>link.err || status=$?
if [ "$status" = 2 ]; then
  same "$LDIR/ZuboK.jnl" victim.jnl "the journal the link leads to"
  ok "a link in place of ZuboK.jnl refused: $(cat link.err)"
else
  echo "note Wine follows Unix links without telling (status $status); tested on Linux only"
fi

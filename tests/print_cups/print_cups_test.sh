#!/usr/bin/env bash
# Prints the chart through a real CUPS queue and checks the PDF that the
# cups-pdf backend writes: one page, the chart in the requested orientation.
#
# Runs its own scheduler on a private socket in a temporary folder, with one
# cups-pdf queue as its default, so the machine's own printers and settings
# are never touched; the program finds that queue the ordinary way (libcups
# reads CUPS_SERVER). Installs nothing: it needs Debian's cups,
# printer-driver-cups-pdf and poppler-utils, and root (the cups-pdf backend
# runs as root). Where the queue cannot be set up it exits 77 (skipped).
#
#   print_cups_test.sh <print_cups_probe>
set -u

probe=${1:?usage: print_cups_test.sh <print_cups_probe>}
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
backend=/usr/lib/cups/backend/cups-pdf
queue=telvara-pdf

skip() {
    echo "SKIPPED: $*"
    exit 77
}

[ "$(id -u)" -eq 0 ] || skip "needs root (the cups-pdf backend runs as root)"
for cmd in cupsd lpadmin lpstat lpoptions pdftoppm pdfinfo timeout; do
    command -v "$cmd" >/dev/null 2>&1 || skip "$cmd not found (Debian: cups, poppler-utils)"
done
[ -x "$backend" ] && [ -f "$ppd" ] || skip "cups-pdf not installed (Debian: printer-driver-cups-pdf)"
[ -d /etc/cups ] && [ -w /etc/cups ] || skip "/etc/cups is not writable"

work=$(mktemp -d /tmp/telvara-cups.XXXXXX) || skip "no temporary folder"
chmod 755 "$work"
# cups-pdf reads its settings from /etc/cups/cups-pdf-<suffix>.conf for a
# device URI cups-pdf:/<suffix>.
suffix=telvara-$$
pdfconf=/etc/cups/cups-pdf-$suffix.conf
cupsd_pid=""
keep=${TELVARA_KEEP_CUPS_OUTPUT:-0} # 1: leave the work folder for inspection

cleanup() {
    if [ -n "$cupsd_pid" ]; then
        kill "$cupsd_pid" 2>/dev/null
        for _ in $(seq 1 50); do
            kill -0 "$cupsd_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$cupsd_pid" 2>/dev/null
        wait "$cupsd_pid" 2>/dev/null
    fi
    rm -f "$pdfconf"
    if [ "${keep:-0}" = 1 ]; then
        echo "kept for inspection: $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT
trap 'exit 1' TERM INT HUP

mkdir -p "$work/out" "$work/home" "$work/ppd"
install -d -o root -g lp -m 1770 "$work/tmp" 2>/dev/null || skip "no group lp (Debian: cups)"

cat >"$work/cupsd.conf" <<EOF
Listen $work/cups.sock
LogLevel info
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$work/cups-files.conf" <<EOF
ServerRoot $work
RequestRoot $work/spool
TempDir $work/tmp
CacheDir $work/cache
StateDir $work/state
ErrorLog $work/error_log
AccessLog $work/access_log
PageLog $work/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
EOF
cat >"$pdfconf" <<EOF
Out $work/out
AnonDirName $work/out
Label 0
EOF

cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" >"$work/cupsd.out" 2>&1 &
cupsd_pid=$!

# The clients (lpadmin, lpoptions, the probe) talk to this scheduler only and
# keep their own options in the work folder.
export CUPS_SERVER=$work/cups.sock CUPS_SERVERROOT=$work HOME=$work/home
unset PRINTER LPDEST

running=0
for _ in $(seq 1 100); do
    if ! kill -0 "$cupsd_pid" 2>/dev/null; then
        cat "$work/cupsd.out" "$work/error_log" 2>/dev/null | tail -20
        cupsd_pid=""
        skip "the scheduler did not start"
    fi
    if [ -S "$work/cups.sock" ] && timeout 5 lpstat -r 2>/dev/null | grep -q "is running"; then
        running=1
        break
    fi
    sleep 0.2
done
[ "$running" = 1 ] || skip "the scheduler did not answer"

timeout 30 lpadmin -p "$queue" -E -v "cups-pdf:/$suffix" -P "$ppd" 2>/dev/null ||
    skip "cannot create the cups-pdf queue"
timeout 30 lpadmin -d "$queue" || skip "cannot make the queue the default"
timeout 30 lpoptions -d "$queue" >/dev/null || skip "lpoptions cannot set the default"
timeout 10 lpstat -d | grep -q "$queue" || skip "the queue is not the default"

status=0
for orientation in landscape portrait; do
    echo "== $orientation"
    timeout 150 "$probe" "$work/out" "$orientation"
    rc=$?
    if [ "$rc" -ne 0 ]; then
        echo "print_cups_probe $orientation failed (exit $rc)"
        status=1
    fi
done

if [ "$status" -ne 0 ]; then
    keep=1
    grep -E "^[EW]|Job [0-9]+\] (Job|PID)" "$work/error_log" 2>/dev/null | tail -30
fi
exit "$status"

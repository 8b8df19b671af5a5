#!/usr/bin/env bash
# deb_package_test.sh BUILD_DIR VERSION PROBE
# Builds the Debian package with CPack, checks its control fields, installs it
# into this system with dpkg, runs the installed tools and starts telvara on a
# virtual X display, then removes the package again.
#
# It changes the real system, so it runs only as root, only where cpack and
# dpkg-deb exist, all declared dependencies are installed and no telvara
# package is installed already; otherwise it is skipped (exit 77).
set -euo pipefail
build=$1
version=$2
probe=$3
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "not root: the package would be installed into the system"
for tool in cpack dpkg dpkg-deb dpkg-query; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done
if dpkg-query -W -f='${Status}' telvara 2>/dev/null | grep -q 'installed'; then
    skip "a telvara package is installed already; it is left alone"
fi

work=$(mktemp -d)
installed=0
cleanup() {
    if [ "$installed" -eq 1 ]; then
        dpkg -r telvara >/dev/null 2>&1 || echo "WARNING: dpkg -r telvara failed" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
arch=$(dpkg --print-architecture)
deb="$work/telvara_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no package $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = telvara ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
for p in fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n libqt6widgets6 libqt6printsupport6 libqt6gui6 \
    libc6 libstdc++6; do
    grep -qxF "$p" <<<"$names" || fail "Depends lacks $p"
done
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
for f in /usr/bin/telvara /usr/bin/telvara-store /usr/bin/telvara-render /usr/bin/telvara-check \
    /usr/share/applications/telvara.desktop /usr/share/icons/hicolor/scalable/apps/telvara.svg \
    /usr/share/icons/hicolor/48x48/apps/telvara.png /usr/share/icons/hicolor/256x256/apps/telvara.png \
    /usr/share/telvara/help/zubhelp/map.txt /usr/share/telvara/help/zubhelp/index.html; do
    grep -qxF "$f" "$work/contents" || fail "the package lacks $f"
done

# Only with every dependency present: dpkg -i must not leave a broken install.
missing=()
IFS=',' read -ra groups <<<"$depends"
for group in "${groups[@]}"; do
    ok=0
    IFS='|' read -ra alternatives <<<"$group"
    for alt in "${alternatives[@]}"; do
        name=$(awk '{print $1}' <<<"$alt")
        if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed'; then
            ok=1
        fi
    done
    [ "$ok" -eq 1 ] || missing+=("$group")
done
[ ${#missing[@]} -eq 0 ] || skip "dependencies not installed:${missing[*]}"

installed=1
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -i failed"; }
[ "$(dpkg-query -W -f='${Status}' telvara)" = "install ok installed" ] || fail "not installed"

# The packaged program keeps its version block after stripping, and the
# fonts it names are there.
"$probe" /usr/bin/telvara >"$work/probe" 2>/dev/null || fail "install_probe failed"
[ "$(sed -n 's/^version //p' "$work/probe")" = "$version" ] ||
    fail "/usr/bin/telvara version: $(sed -n 's/^version //p' "$work/probe")"
[ "$(sed -n 's/^font //p' "$work/probe" | tr '\n' ' ')" = \
    "ＭＳ Ｐゴシック=IPAPGothic ＭＳ Ｐ明朝=IPAPMincho ＭＳ 明朝=IPAMincho " ] ||
    fail "fonts: $(sed -n 's/^font //p' "$work/probe" | tr '\n' ' ')"

# The packaged tools.
store="$work/store"
mkdir "$store"
/usr/bin/telvara-store "$store" add 東電 51R 200 4.5 2.5 1.4 1.0 0.8 0.6 0.05 4 20 ||
    fail "telvara-store cannot add"
[ "$(/usr/bin/telvara-store "$store" list)" = "$(printf '東電,51R\r')" ] || fail "telvara-store list"
/usr/bin/telvara-store "$store" check >/dev/null || fail "telvara-store check"
env -u QT_QPA_PLATFORM /usr/bin/telvara-render "$store" "$work/chart.png" 2>/dev/null ||
    fail "telvara-render failed"
file -b "$work/chart.png" | grep -q '^PNG image data, 1024 x 768,' || fail "no 1024x768 chart"

# The packaged program on a virtual display: its data-folder dialog comes up.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    "$here/start_on_x.sh" /usr/bin/telvara || fail "the installed telvara did not start"
else
    echo "note: xvfb-run or xdotool missing; telvara was not started"
fi

dpkg -r telvara >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg -r failed"; }
installed=0
[ ! -e /usr/bin/telvara ] || fail "/usr/bin/telvara is still there after dpkg -r"
[ ! -e /usr/share/telvara ] || fail "/usr/share/telvara is still there after dpkg -r"
echo "package built, installed, run and removed"

#!/usr/bin/env bash
# install_tree_test.sh BUILD_DIR PROBE VERSION
# Installs the build into a fresh prefix (a path with a space) and checks the
# tree a desktop and the program rely on: the exact file list, the desktop
# entry, the icons, the tools working from there, and what the program finds
# from its installed folder (help set, fonts, version block; install_probe
# copied beside it). With xvfb-run and xdotool the installed telvara is started.
set -euo pipefail
build=$1
probe=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/inst tree"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect_eq() { # what, got, wanted
    [ "$2" = "$3" ] || fail "$1: got '$2', wanted '$3'"
}

cmake --install "$build" --prefix "$prefix" >/dev/null

# Exactly these files, nothing else.
{
    printf '%s\n' bin/telvara bin/telvara-store bin/telvara-render bin/telvara-check \
        share/applications/telvara.desktop \
        share/icons/hicolor/scalable/apps/telvara.svg \
        share/icons/hicolor/48x48/apps/telvara.png \
        share/icons/hicolor/256x256/apps/telvara.png
    (cd "$source_dir/app/help" && find . -type f | sed 's|^\./|share/telvara/help/|')
} | LC_ALL=C sort >"$work/wanted"
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$work/got"
diff -u "$work/wanted" "$work/got" || fail "installed file list differs"
grep -q '^share/telvara/help/zubhelp/map.txt$' "$work/got" || fail "no help map installed"

for p in telvara telvara-store telvara-render telvara-check; do
    [ -x "$prefix/bin/$p" ] || fail "bin/$p is not executable"
    # An installed program must not reach back into the build tree.
    if readelf -d "$prefix/bin/$p" | grep -E 'RPATH|RUNPATH' | grep -qF "$build"; then
        fail "bin/$p keeps a run path into the build tree"
    fi
done

desktop="$prefix/share/applications/telvara.desktop"
for line in '[Desktop Entry]' 'Type=Application' 'Name=Telvara' 'Name[ja]=Telvara 保護協調曲線' \
    'Exec=telvara' 'Icon=telvara' 'Terminal=false' 'Categories=Science;Engineering;Qt;'; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry is not valid"
fi
icons="$prefix/share/icons/hicolor"
for size in 48 256; do
    file -b "$icons/${size}x${size}/apps/telvara.png" | grep -q "^PNG image data, $size x $size," ||
        fail "the ${size}x${size} icon is not a $size x $size PNG"
done
python3 -c 'import sys, xml.etree.ElementTree as E
r = E.parse(sys.argv[1]).getroot()
sys.exit(0 if r.tag == "{http://www.w3.org/2000/svg}svg" else 1)' "$icons/scalable/apps/telvara.svg" ||
    fail "the scalable icon is not an SVG picture"

# The installed tools on a fresh store.
store="$work/store"
mkdir "$store"
"$prefix/bin/telvara-store" "$store" add 東電 51R 200 4.5 2.5 1.4 1.0 0.8 0.6 0.05 4 20 ||
    fail "installed telvara-store cannot add"
"$prefix/bin/telvara-store" "$store" add 東電 51F 100 2.0 1.2 0.7 0.5 0.4 0.3 0.04 3 10 ||
    fail "installed telvara-store cannot add"
expect_eq "store listing" "$("$prefix/bin/telvara-store" "$store" list | od -An -c | tr -s ' \n' ' ')" \
    "$(printf '東電,51F\r\n東電,51R\r\n' | od -An -c | tr -s ' \n' ' ')"
expect_eq "store record" "$("$prefix/bin/telvara-store" "$store" find 東電 51R)" \
    "$(printf '東電\t51R\t200\t4.5\t2.5\t1.4\t1.0\t0.8\t0.6\t0.05\t4\t20')"
status=0
"$prefix/bin/telvara-store" "$store" find 東電 52 >/dev/null 2>&1 || status=$?
expect_eq "status of a missing record" "$status" 1
QT_QPA_PLATFORM=offscreen "$prefix/bin/telvara-render" "$store" "$work/chart.png" --size 800x600 \
    2>/dev/null || fail "installed telvara-render failed"
file -b "$work/chart.png" | grep -q '^PNG image data, 800 x 600,' || fail "no 800x600 chart drawn"

# What the program finds from its installed folder.
cp "$probe" "$prefix/bin/install_probe"
QT_QPA_PLATFORM=offscreen "$prefix/bin/install_probe" "$prefix/bin/telvara" >"$work/probe" 2>/dev/null
rm "$prefix/bin/install_probe"
expect_eq "help set" "$(sed -n 's/^help-set //p' "$work/probe")" \
    "$prefix/share/telvara/help/zubhelp"
expect_eq "contents page" "$(sed -n 's/^help-page //p' "$work/probe")" \
    "$prefix/share/telvara/help/zubhelp/index.html"
expect_eq "fonts" "$(sed -n 's/^font //p' "$work/probe" | tr '\n' ' ')" \
    "ＭＳ Ｐゴシック=IPAPGothic ＭＳ Ｐ明朝=IPAPMincho ＭＳ 明朝=IPAMincho "
expect_eq "installed version" "$(sed -n 's/^version //p' "$work/probe")" "$version"

# The same probe in a bin/ without the tree beside it does not find that set:
# the result above comes from the installed layout, not from elsewhere.
mkdir -p "$work/bare/bin"
cp "$probe" "$work/bare/bin/install_probe"
bare=$(QT_QPA_PLATFORM=offscreen "$work/bare/bin/install_probe" 2>/dev/null | sed -n 's/^help-set //p')
case "$bare" in
"$work"/*) fail "a bare bin/ found a help set in the work folder: $bare" ;;
esac

if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    "$here/start_on_x.sh" "$prefix/bin/telvara" >/dev/null || fail "installed telvara did not start"
else
    echo "note: xvfb-run or xdotool missing; the installed telvara was not started"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree checked"

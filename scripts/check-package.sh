#!/usr/bin/env bash
# Builds the Debian package (make package) and checks it as a user's machine would take it:
#  - its control data and files: programs in /usr/bin, the installation folder /usr/share/tunx4k
#    with the program's own files only, the desktop entry, icon and AppStream data in the
#    desktop's places, the udev rule;
#  - its dependencies: every library the programs load belongs to a package it depends on, and
#    apt can install the package here (a simulated install, which resolves the dependencies);
#  - Debian's checker: lintian finds no error and no warning (its informational and pedantic
#    tags are listed), the documentation Debian asks for is there (copyright, changelog, manual
#    pages), the desktop entry and AppStream data validate;
#  - the installed programs: unpacked into a throwaway root (dpkg -x), tunx4k-cli runs a script
#    against the virtual instrument and reads the installed profile and calibration, and
#    tunx4k --simulate starts under xvfb-run, refreshes, and keeps running for a few seconds.
#    With --system the package is installed into this system with apt instead, the programs in
#    /usr/bin are checked, and removing it must leave none of its files behind.
# The checking tools (lintian, desktop-file-utils, appstream) are installed when missing (as root).
#   scripts/check-package.sh [--system] [--no-build]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD:-$root/build-package}
system=no
rebuild=yes
for arg in "$@"; do
    case $arg in
        --system) system=yes ;;
        --no-build) rebuild=no ;;
        *) echo "usage: scripts/check-package.sh [--system] [--no-build]" >&2; exit 2 ;;
    esac
done

# The tools the checks need: installed when missing, never skipped.
tools=(lintian desktop-file-utils appstream)
missing=()
for p in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "scripts/check-package.sh needs ${missing[*]}: run it as root to install them" >&2
        exit 1
    fi
    echo "== installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

failures=0
ok() { echo "  ok    $*"; }
bad() { echo "  FAIL  $*"; failures=$((failures + 1)); }
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then ok "$what"; else bad "$what"; fi
}

if [[ $rebuild == yes ]]; then
    echo "== make package"
    mkdir -p "$build"
    make -C "$root" package JOBS="${JOBS:-2}" PACKAGE_BUILD="$build" >"$build/make-package.log" 2>&1 || {
        tail -30 "$build/make-package.log"
        exit 1
    }
fi
deb=$(ls -t "$build"/tunx4k_*.deb 2>/dev/null | head -1)
[[ -n $deb ]] || { echo "no .deb in $build" >&2; exit 1; }
echo "== $deb ($(du -k "$deb" | cut -f1) kB)"
dpkg-deb -f "$deb" | sed 's/^/  /'

echo "== files"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#')
for f in /usr/bin/tunx4k /usr/bin/tunx4k-cli \
    /usr/share/tunx4k/CalDataSIM0001.txt /usr/share/tunx4k/Voltage1.txt \
    /usr/share/tunx4k/SigGen_helpfile.txt /usr/share/tunx4k/run_btn.bmp \
    /usr/share/applications/org.tunx4k.tunx4k.desktop \
    /usr/share/icons/hicolor/scalable/apps/org.tunx4k.tunx4k.svg \
    /usr/share/metainfo/org.tunx4k.tunx4k.metainfo.xml /usr/lib/udev/rules.d/70-tunx4k.rules; do
    if grep -qx "$f" <<<"$contents"; then ok "$f"; else bad "$f is missing"; fi
done
extra=$(grep '^/usr/share/tunx4k/.' <<<"$contents" | grep -Ev '/(CalDataSIM0001\.txt|Voltage1\.txt|SigGen_helpfile\.txt|run_btn\.bmp)$' || true)
if [[ -z $extra ]]; then ok "the installation folder holds the program's files only"; else bad "also in the installation folder: $extra"; fi

echo "== Debian's checker"
for f in /usr/share/doc/tunx4k/copyright /usr/share/doc/tunx4k/changelog.gz \
    /usr/share/doc/tunx4k/README.md /usr/share/man/man1/tunx4k.1.gz \
    /usr/share/man/man1/tunx4k-cli.1.gz; do
    if grep -qx "$f" <<<"$contents"; then ok "$f"; else bad "$f is missing"; fi
done
# Every tag is shown (informational and pedantic ones too); errors and warnings fail.
lintian_status=0
lintian_out=$(lintian --pedantic --display-info --fail-on error,warning "$deb" 2>&1) || lintian_status=$?
lintian_out=$(grep -v 'root privileges' <<<"$lintian_out" || true)
sed 's/^/  | /' <<<"${lintian_out:-(no tags)}"
if [[ $lintian_status -eq 0 ]]; then ok "lintian: no error, no warning"; else bad "lintian found errors or warnings"; fi

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "  Depends: $depends"
listed=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/ //g' | sed '/^$/d' | sort -u)
unpacked=$(mktemp -d /tmp/tunx4k-package.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked"
# Every shared library the programs load comes from a listed package or from one that a listed
# package depends on.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $listed 2>/dev/null | grep -v '^ ' | sed 's/:.*//' | sort -u)
for program in tunx4k tunx4k-cli; do
    before=$failures
    while read -r lib; do
        owner=$(dpkg -S "$(readlink -f "$lib")" 2>/dev/null | head -1 | cut -d: -f1 ||
            dpkg -S "$lib" 2>/dev/null | head -1 | cut -d: -f1 || true)
        if [[ -z $owner ]]; then
            bad "$program loads $lib, which no package owns"
        elif grep -qx "$owner" <<<"$closure"; then
            :
        else
            bad "$program loads $lib from $owner, which the package does not depend on"
        fi
    done < <(ldd "$unpacked/usr/bin/$program" | awk '/=> \//{print $3}')
    [[ $failures -eq $before ]] && ok "$program: every library it loads is covered by Depends"
done
check "apt resolves the dependencies (simulated install)" \
    apt-get install --simulate --no-install-recommends "$deb"

echo "== desktop data"
check "desktop entry is valid" desktop-file-validate \
    "$unpacked/usr/share/applications/org.tunx4k.tunx4k.desktop"
check "AppStream metadata is valid" appstreamcli validate --no-net \
    "$unpacked/usr/share/metainfo/org.tunx4k.tunx4k.metainfo.xml"
check "icon is an SVG image" grep -q '<svg' \
    "$unpacked/usr/share/icons/hicolor/scalable/apps/org.tunx4k.tunx4k.svg"

echo "== manual pages"
# help2man takes the synopsis from --help's usage lines, one form of the command a line.
synopsis_has() {  # synopsis_has PROGRAM WORD...
    local page=$unpacked/usr/share/man/man1/$1.1.gz text
    shift
    text=$(zcat "$page" | sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' | sed 's/\\-/-/g')
    for word in "$@"; do grep -qe "$word" <<<"$text" || return 1; done
}
check "tunx4k(1): its synopsis" synopsis_has tunx4k '^\.B tunx4k$' options
check "tunx4k-cli(1): its synopsis has every form" \
    synopsis_has tunx4k-cli SCRIPT '--serve' '--list' '--version'

prefix=$unpacked/usr
if [[ $system == yes ]]; then
    echo "== installing into this system"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" \
        >"$unpacked/apt.log" 2>&1 || { cat "$unpacked/apt.log"; exit 1; }
    trap 'DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tunx4k >/dev/null 2>&1; rm -rf "$unpacked"' EXIT
    prefix=/usr
    check "dpkg lists the package as installed" dpkg-query -W -f='${Status}' tunx4k
fi

echo "== the installed programs ($prefix/bin)"
work=$unpacked/work
mkdir -p "$work"
check "tunx4k --version" bash -c "'$prefix/bin/tunx4k' --version | grep -qx 'tunx4k [0-9.]*'"
check "tunx4k --help" bash -c "'$prefix/bin/tunx4k' --help | grep -q -- '--simulate'"
check "tunx4k-cli --version" bash -c "'$prefix/bin/tunx4k-cli' --version | grep -qx 'tunx4k-cli [0-9.]*'"
check "tunx4k --bogus exits with 2" bash -c "'$prefix/bin/tunx4k' --bogus; test \$? -eq 2"
# The installed profile, read from the installation folder, played by the Arbitrary mode.
cat >"$work/arbitrary.txt" <<'SCRIPT'
choose ModeSelect Arbitrary
set endpt1 1024
set endpt2 1024
click RefreshBtn
show StatusBar
show tcali
SCRIPT
# The user's data folder, empty at first: the installed calibration file is read.
export XDG_DATA_HOME=$work/data
(cd "$work" && "$prefix/bin/tunx4k-cli" --simulate --fast arbitrary.txt >cli.txt 2>&1) || true
check "tunx4k-cli refreshes the Arbitrary mode from the installed profile" \
    grep -qx 'value StatusBar = Running Arbitrary' "$work/cli.txt"
check "tunx4k-cli reads the installed calibration file" \
    grep -qx "value tcali = $prefix/share/tunx4k/CalDataSIM0001.txt" "$work/cli.txt"
check "no message about the calibration data" bash -c "! grep -q 'Calibration' '$work/cli.txt'"
mkdir -p "$XDG_DATA_HOME/tunx4k"
cp "$prefix/share/tunx4k/CalDataSIM0001.txt" "$XDG_DATA_HOME/tunx4k/"
(cd "$work" && "$prefix/bin/tunx4k-cli" --simulate --fast arbitrary.txt >cli-own.txt 2>&1) || true
check "tunx4k-cli reads the user's own calibration file first" \
    grep -qx "value tcali = $XDG_DATA_HOME/tunx4k/CalDataSIM0001.txt" "$work/cli-own.txt"
rm -r "$XDG_DATA_HOME/tunx4k"
check "tunx4k-cli --list names the virtual instrument" \
    bash -c "'$prefix/bin/tunx4k-cli' --simulate --list | grep -qx tunx4k-SIM0001"

cat >"$work/gui.txt" <<'SCRIPT'
set Frek 1
set Vpp 1
click RefreshBtn
wait 2000
shot window.png frmMain
wait 3000
quit
SCRIPT
(
    cd "$work"
    timeout 60 xvfb-run -a -s "-screen 0 1366x768x24" bash -c "
        '$prefix/bin/tunx4k' --simulate --transcript transcript.txt --script gui.txt &
        pid=\$!
        sleep 4
        if kill -0 \$pid 2>/dev/null; then echo running >state.txt; fi
        wait \$pid
        echo \$? >status.txt"
) >"$work/gui.log" 2>&1 || true
check "tunx4k --simulate was still running after 4 s under Xvfb" grep -qx running "$work/state.txt"
check "it ended with status 0 at the script's quit" grep -qx 0 "$work/status.txt"
check "it opened the virtual instrument" grep -qx 'open 0' "$work/transcript.txt"
check "its Refresh sent the amplitude (command 3)" grep -q '^write 4 3 ' "$work/transcript.txt"
check "it showed the generator window (screenshot)" test -s "$work/window.png"
check "no message about the calibration data" bash -c "! grep -q 'Calibration' '$work/transcript.txt'"
if [[ -s $work/window.png ]]; then
    cp "$work/window.png" "$build/installed-window.png"
    echo "  (screenshot of the installed program: $build/installed-window.png)"
fi

if [[ $system == yes ]]; then
    echo "== removing it from this system"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tunx4k >"$unpacked/remove.log" 2>&1 ||
        bad "apt-get remove tunx4k failed"
    left=$(grep -v '/$' <<<"$contents" | while read -r f; do [[ -e $f ]] && echo "$f"; done || true)
    if [[ -z $left ]]; then ok "removal leaves none of its files"; else bad "left behind: $left"; fi
    check "removal leaves no /usr/share/tunx4k folder" test ! -e /usr/share/tunx4k
    check "apt said nothing about folders it could not remove" \
        bash -c "! grep -qi 'not empty' '$unpacked/remove.log'"
fi

if [[ $failures -ne 0 ]]; then
    echo "package check: $failures failed"
    exit 1
fi
echo "package check: passed"

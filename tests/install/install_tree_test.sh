#!/usr/bin/env bash
# Installs the build tree into a scratch DESTDIR and checks what an operator
# gets: the files and their modes, the desktop entry, the metadata, both
# manual pages; then runs the installed panel against the installed
# simulator in a scratch working directory and checks that nothing was
# written anywhere else.
# usage: install_tree_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/zr-install-XXXXXX")"
sim_pid=""
panel_pid=""
cleanup() {
  [ -n "$panel_pid" ] && kill "$panel_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

root="$scratch/root"
# The builder's umask must not reach the installed modes.
(umask 022 && DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null)

usr="$root/usr"
share="$usr/share"
expect_mode() {  # mode path
  if [ ! -f "$2" ]; then fail "missing ${2#$root}"; return; fi
  local m
  m="$(stat -c %a "$2")"
  [ "$m" = "$1" ] || fail "${2#$root} has mode $m, not $1"
}
expect_mode 755 "$usr/bin/zr3817"
expect_mode 755 "$usr/bin/zr3817-sim"
expect_mode 644 "$share/applications/org.zr3817.Panel.desktop"
expect_mode 644 "$share/metainfo/org.zr3817.Panel.metainfo.xml"
expect_mode 644 "$share/icons/hicolor/scalable/apps/zr3817.svg"
for size in 16 32 48 64 128 256; do
  png="$share/icons/hicolor/${size}x${size}/apps/zr3817.png"
  expect_mode 644 "$png"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  [ -f "$png" ] && [ "$((16#$(od -An -tx1 -j16 -N4 "$png" | tr -d ' \n')))" = "$size" ] &&
    [ "$((16#$(od -An -tx1 -j20 -N4 "$png" | tr -d ' \n')))" = "$size" ] || fail "$png is not ${size}x${size}"
done
for page in zr3817 zr3817-sim; do expect_mode 644 "$share/man/man1/$page.1.gz"; done
for doc in README.md LICENSE copyright changelog.gz; do expect_mode 644 "$share/doc/zr3817/$doc"; done
expect_mode 644 "$share/zr3817/ZR3817V0961.hlp"
# Nothing outside the prefix, nothing writable but by its owner.
outside="$(find "$root" -mindepth 1 -maxdepth 1 ! -name usr)"
[ -z "$outside" ] || fail "installed outside /usr: $outside"
loose="$(find "$root" -perm /022)"
[ -z "$loose" ] || fail "writable by group or others: $loose"

desktop-file-validate "$share/applications/org.zr3817.Panel.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=zr3817 --user-dir' "$share/applications/org.zr3817.Panel.desktop" || fail "desktop Exec line"
appstreamcli validate --no-net "$share/metainfo/org.zr3817.Panel.metainfo.xml" >"$scratch/appstream.txt" 2>&1 ||
  { cat "$scratch/appstream.txt"; fail "appstreamcli validate"; }
grep -q "<release version=\"$version\"" "$share/metainfo/org.zr3817.Panel.metainfo.xml" ||
  fail "metainfo release is not $version"
for page in zr3817 zr3817-sim; do
  text="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>"$scratch/man.err")" ||
    fail "man -l $page"
  [ ! -s "$scratch/man.err" ] || { cat "$scratch/man.err"; fail "man -l $page warns"; }
  for section in NAME SYNOPSIS OPTIONS SIGNALS "EXIT STATUS" EXAMPLES; do
    grep -q "^$section" <<<"$text" || fail "$page(1) has no $section"
  done
done
grep -q "^FILES" <<<"$(MANWIDTH=80 man -l "$share/man/man1/zr3817.1.gz" 2>/dev/null)" || fail "zr3817(1) has no FILES"
zcat "$share/doc/zr3817/changelog.gz" | head -1 | grep -q "^zr3817 ($version)" || fail "changelog is not $version"

# The installed programs, with a home, a starting directory and a working
# directory of their own, so that anything written shows where it went.
home="$scratch/home" start="$scratch/start" work="$scratch/work" runtime="$scratch/runtime" logs="$scratch/logs"
mkdir -p "$home" "$start" "$logs"
mkdir -m 700 "$runtime"
run_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8)

got="$(cd "$start" && "${run_env[@]}" "$usr/bin/zr3817" --version)"
[ "$got" = "zr3817 $version" ] || fail "zr3817 --version says \"$got\", not \"zr3817 $version\""

# The simulator links its pty into the working directory.
mkdir -p "$work"
(cd "$start" && exec "${run_env[@]}" "$usr/bin/zr3817-sim" --dir "$work" --port 1 --log "$logs/sim.log" \
  >"$logs/sim.out" 2>&1) &
sim_pid=$!
for _ in $(seq 300); do [ -L "$work/COM1" ] && break; sleep 0.1; done
[ -L "$work/COM1" ] || { cat "$logs/sim.out"; fail "the simulator made no COM1 link"; exit 1; }
printf '1\r\n9600,O,7,1\r\ncomNone\r\n0\r\n' >"$work/PortSetup.txt"

(cd "$start" && exec "${run_env[@]}" "$usr/bin/zr3817" --dir "$work" >"$logs/panel.out" 2>&1) &
panel_pid=$!
# Served: the setup's RF gain command has gone out. Generous, for a loaded machine.
served=""
for _ in $(seq 1200); do
  if grep -q ' G00$' "$logs/sim.log" 2>/dev/null; then served=1; break; fi
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$served" ] || { cat "$logs/panel.out"; fail "the installed panel never set the simulator up"; }
kill -TERM "$panel_pid"
status=0
wait "$panel_pid" || status=$?
panel_pid=""
[ "$status" -eq 0 ] || { cat "$logs/panel.out"; fail "the panel ended with status $status after SIGTERM"; }
kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=""

[ -f "$work/ZR3817ini.txt" ] || fail "no ZR3817ini.txt in the --dir directory"
[ -e "$work/ZR3817.lock" ] || fail "no lock in the --dir directory"
for d in "$home" "$start" "$runtime"; do
  written="$(find "$d" -mindepth 1)"
  [ -z "$written" ] || fail "written outside the --dir directory: $written"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failed" >&2
  exit 1
fi
echo "installed tree and installed panel: all checks passed"

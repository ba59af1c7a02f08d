#!/usr/bin/env bash
# check_package.sh install|deb BUILD_DIR GUI VERSION
#   install: `cmake --install` into a scratch root; deb: `cpack -G DEB`, then unpack the package.
# Then checks the tree as a Debian system would use it. Every failure is reported; exit 1 if any.
set -uo pipefail
mode=$1 build=$2 gui=$3 version=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
have() { command -v "$1" >/dev/null 2>&1; }

case $mode in
install)
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 || {
    cat "$tmp/install.log"; echo "FAIL: cmake --install"; exit 1; }
  ;;
deb)
  (cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out") >"$tmp/cpack.log" 2>&1 || {
    cat "$tmp/cpack.log"; echo "FAIL: cpack"; exit 1; }
  debs=("$tmp"/out/*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one .deb, got: ${debs[*]}"; exit 1; }
  deb=${debs[0]}
  [ "$(dpkg-deb -f "$deb" Package)" = trv ] || fail "package name"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), want $version"
  [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
  dpkg-deb -f "$deb" Description | grep -q ';' && fail "description carries list separators"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  want=(libc6 libstdc++6)
  [ "$gui" = 1 ] && want+=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 libqcustomplot2.1-qt6)
  names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
  for p in "${want[@]}"; do grep -Fxq "$p" <<<"$names" || fail "Depends lacks $p"; done
  dups=$(sort <<<"$names" | uniq -d)
  [ -z "$dups" ] || fail "Depends names twice: $dups"
  # Every file belongs to root and lives below /usr.
  dpkg-deb -c "$deb" >"$tmp/contents"
  awk '$2 != "root/root" { print }' "$tmp/contents" | grep . && fail "files not owned by root"
  awk '{ print $6 }' "$tmp/contents" | grep -Ev '^\./(usr(/.*)?)?$' && fail "files outside /usr"
  dpkg-deb -x "$deb" "$root"
  ;;
*) echo "usage: $0 install|deb BUILD_DIR GUI VERSION"; exit 1 ;;
esac

u=$root/usr
files=(bin/trv-cli bin/trv-sim share/man/man1/trv-cli.1.gz share/man/man1/trv-sim.1.gz share/doc/trv/copyright
  share/man/de/man1/trv-cli.1.gz share/man/de/man1/trv-sim.1.gz)
[ "$gui" = 1 ] && files+=(bin/trv libexec/trv/trv-cli-print share/man/man1/trv.1.gz share/man/de/man1/trv.1.gz
  share/applications/de.morvane.trv.desktop
  share/metainfo/de.morvane.trv.metainfo.xml share/mime/packages/trv.xml share/icons/hicolor/scalable/apps/trv.svg)
for f in "${files[@]}"; do [ -f "$u/$f" ] || fail "missing /usr/$f"; done
for b in "$u"/bin/* "$u"/libexec/trv/*; do
  [ -e "$b" ] || continue
  [ -x "$b" ] || fail "$b not executable"
  # A build-tree RPATH would make the installed program load libraries from the build directory.
  readelf -d "$b" 2>/dev/null | grep -Eq 'RPATH|RUNPATH' && fail "$(basename "$b") carries an RPATH"
done
"$u/bin/trv-cli" --help >"$tmp/cli-help" 2>&1 || fail "installed trv-cli --help"
"$u/bin/trv-sim" --help >"$tmp/sim-help" 2>&1 || fail "installed trv-sim --help"
# The installed trv-cli finds its drawing helper (a usage line, not "not in this build").
if [ "$gui" = 1 ]; then
  "$u/bin/trv-cli" print >"$tmp/cli-print" 2>&1
  grep -q "ohne Qt" "$tmp/cli-print" && fail "installed trv-cli print does not find trv-cli-print"
fi

# Man pages, English in man1 and German in de/man1: compressed, formatted without warnings, and naming every
# command and option the program lists.
for page in "$u"/share/man/man1/*.1.gz "$u"/share/man/de/man1/*.1.gz; do
  gzip -t "$page" || fail "$page is not gzip"
  warn=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warn" ] || fail "$(basename "$page"): $warn"
done
for dir in man1 de/man1; do
  cli_man=$(zcat "$u/share/man/$dir/trv-cli.1.gz")
  for cmd in $(sed -n 's/^  trv-cli \([a-z]*\) .*/\1/p' "$tmp/cli-help"); do
    grep -Eq "^\.BI? \"?$cmd( |\")" <<<"$cli_man" || fail "$dir/trv-cli.1 does not describe '$cmd'"
  done
  grep -q 'lang' <<<"$cli_man" || fail "$dir/trv-cli.1 does not describe --lang"
  sim_man=$(zcat "$u/share/man/$dir/trv-sim.1.gz" | sed 's/\\-/-/g')
  for opt in $(grep -o -- '--[a-z-]*' "$tmp/sim-help" | sort -u); do
    grep -Eq "^\.B[IR]? $opt( |$)" <<<"$sim_man" || fail "$dir/trv-sim.1 does not describe $opt"
  done
done

if [ "$gui" = 1 ]; then
  desktop=$u/share/applications/de.morvane.trv.desktop
  if have desktop-file-validate; then
    out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
  else
    echo "SKIP: desktop-file-validate not installed"
  fi
  exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$u/bin/$exe" ] || fail "Exec=$exe is not an installed program"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$u/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not installed"
  # The MIME database built from the installed type knows *.trv under the type the desktop file opens.
  mime=$(sed -n 's/^MimeType=\([^;]*\);.*/\1/p' "$desktop")
  if have update-mime-database; then
    mkdir -p "$tmp/mime/packages"
    cp "$u/share/mime/packages/trv.xml" "$tmp/mime/packages/"
    update-mime-database "$tmp/mime" >/dev/null 2>&1 || fail "update-mime-database"
    grep -q ":$mime:\*\.trv$" "$tmp/mime/globs2" || fail "*.trv is not registered as $mime"
  else
    grep -q "type=\"$mime\"" "$u/share/mime/packages/trv.xml" || fail "trv.xml does not declare $mime"
  fi
  metainfo=$u/share/metainfo/de.morvane.trv.metainfo.xml
  grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo names no release $version"
  grep -q '<launchable type="desktop-id">de.morvane.trv.desktop</launchable>' "$metainfo" || fail "launchable"
  if have appstreamcli; then
    out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
  else
    echo "SKIP: appstreamcli not installed"
  fi
fi

[ $failures -eq 0 ] && echo "OK ($mode)"
[ $failures -eq 0 ]

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Vimbrel as a user would. `cmake --install` into a temporary prefix: every installed
# file is checked, and the desktop entry, the AppStream metainfo and the album file type go
# through their real validators. CPack builds the .deb, which apt installs (as root); the
# installed program is opened on an album the way a file manager does (gio open, which asks the
# MIME database and the desktop entry), must show the album's page view and read its help from
# where it was installed, and must write nothing into its own folders; then apt removes the
# package. Not root: the package is built and inspected but not installed, and the program
# installed in the prefix is the one opened.
#   test_install.sh BUILD_DIR SOURCE_DIR SAMPLE_ALBUM_TOOL
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
sampler=$3
E2E_NAME=install
source "$src/tests/e2e/xsession.sh"

step() { echo "-- [${SECONDS}s] $*"; }

# A failing run leaves no package installed and nothing of its own running.
installed= watcher= sampler_pid=
remove_package() {
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q vimbrel >"$E2E_TMP/remove.log" 2>&1
}
cleanup_all() {
  for pid in $watcher $sampler_pid; do kill "$pid" 2>/dev/null || true; done
  [ -z "$installed" ] || remove_package || true
  e2e_cleanup
}
trap cleanup_all EXIT

# The album the installed program opens, made while the installation is checked (it takes a
# while in a sanitizer build). Its folder has a space: the desktop entry's %f must keep it whole.
albums="$HOME/My Albums"
album=$albums/SAMPLE.vmb
"$sampler" "$albums" >"$E2E_TMP/sampler.log" 2>&1 & sampler_pid=$!
# Fails unless the command prints nothing on either output and succeeds.
quiet() {
  local out
  out=$("$@" 2>&1) || fail "$* failed: $out"
  [ -z "$out" ] || fail "$* complained: $out"
}

# Every file an installation holds, below its prefix.
icon_sizes="16 22 24 32 48 64 128 256 512"
expected_files() {
  {
    echo bin/vimbrel
    echo share/applications/vimbrel.desktop
    echo share/doc/vimbrel/copyright
    for s in $icon_sizes; do echo "share/icons/hicolor/${s}x$s/apps/vimbrel.png"; done
    echo share/icons/hicolor/scalable/apps/vimbrel.svg
    echo share/man/man1/vimbrel.1.gz
    echo share/metainfo/org.vimbrel.vimbrel.metainfo.xml
    echo share/mime/packages/vimbrel.xml
    echo share/vimbrel/vimbra.hlp
  } | sort
}

# ---------------------------------------------------------------- install into a prefix
prefix=$E2E_TMP/prefix
step "cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$E2E_TMP/install.log")"
diff <(expected_files) <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
  fail "the installed files differ from the expected list (< expected, > installed)"

exe=$prefix/bin/vimbrel
[ -x "$exe" ] || fail "bin/vimbrel is not executable"
file -b "$exe" | grep -q '^ELF 64-bit .*executable' || fail "bin/vimbrel is not an executable: $(file -b "$exe")"
# Installed means relocatable: no search path into the build folder or the sources.
if readelf -d "$exe" | grep -E 'RPATH|RUNPATH' | grep -qF -e "$build" -e "$src"; then
  fail "bin/vimbrel still searches the build folder: $(readelf -d "$exe" | grep -E 'RPATH|RUNPATH')"
fi
cmp -s "$prefix/share/vimbrel/vimbra.hlp" "$src/assets/help/vimbra.hlp" ||
  fail "the installed help differs from assets/help/vimbra.hlp"

step "icons"
for s in $icon_sizes; do
  png=$prefix/share/icons/hicolor/${s}x$s/apps/vimbrel.png
  file -b "$png" | grep -q "^PNG image data, $s x $s, 8-bit/color RGBA" ||
    fail "${s}x$s icon: $(file -b "$png")"
done
cmp -s "$prefix/share/icons/hicolor/scalable/apps/vimbrel.svg" "$src/assets/artwork/vimbrel.svg" ||
  fail "the scalable icon is not assets/artwork/vimbrel.svg"

step "desktop entry"
desktop=$prefix/share/applications/vimbrel.desktop
quiet desktop-file-validate "$desktop"
for line in 'Type=Application' 'Name=Vimbrel' 'Exec=vimbrel %f' 'Icon=vimbrel' \
  'MimeType=application/x-vimbrel-album;'; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry has no line $line"
done

step "metainfo"
metainfo=$prefix/share/metainfo/org.vimbrel.vimbrel.metainfo.xml
appstreamcli validate --no-net --pedantic "$metainfo" >"$E2E_TMP/as.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$E2E_TMP/as.log")"
grep -q '^✔ Validation was successful\.$' "$E2E_TMP/as.log" ||
  fail "appstreamcli has remarks: $(cat "$E2E_TMP/as.log")"
appstreamcli validate-tree --no-net "$prefix" >"$E2E_TMP/as.log" 2>&1 ||
  fail "appstreamcli validate-tree: $(cat "$E2E_TMP/as.log")"
grep -qF '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
  fail "the metainfo does not name the licence"
grep -qF '<launchable type="desktop-id">vimbrel.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not launch vimbrel.desktop"

step "manual page"
man_page=$prefix/share/man/man1/vimbrel.1.gz
file -b "$man_page" | grep -q '^gzip compressed' || fail "the manual page is not compressed"
[ "$(lexgrog "$man_page" 2>&1)" = "$man_page: \"vimbrel - photo-album manager that shows albums like a book\"" ] ||
  fail "the manual page's NAME line: $(lexgrog "$man_page" 2>&1)"
MANWIDTH=80 man --warnings -l "$man_page" >"$E2E_TMP/man.txt" 2>"$E2E_TMP/man.err" ||
  fail "man could not show the page: $(cat "$E2E_TMP/man.err")"
[ ! -s "$E2E_TMP/man.err" ] || fail "man warns: $(cat "$E2E_TMP/man.err")"
grep -q '^SYNOPSIS' "$E2E_TMP/man.txt" || fail "the manual page shows no SYNOPSIS"

# The album file type and its handler, as a file manager sees them: the MIME database and the
# desktop entries' cache are made for the prefix, and gio (GLib's file type and application
# lookup) is asked for the album type's application, and below about an album named .vmb and
# about the same bytes with no name to go by.
step "album file type"
xmllint --noout "$prefix/share/mime/packages/vimbrel.xml" || fail "the MIME package is not well-formed"
use_prefix() {
  export PATH=$prefix/bin:$PATH XDG_DATA_DIRS=$prefix/share:/usr/share
}
mime_out=$(XDG_DATA_DIRS=$prefix/share:/usr/share update-mime-database "$prefix/share/mime" 2>&1) || fail "update-mime-database: $mime_out"
[ -z "$mime_out" ] || fail "update-mime-database complains: $mime_out"
grep -qxF '50:application/x-vimbrel-album:*.vmb' "$prefix/share/mime/globs2" ||
  fail "no glob *.vmb in the MIME database"
quiet update-desktop-database "$prefix/share/applications"
grep -qxF 'application/x-vimbrel-album=vimbrel.desktop;' "$prefix/share/applications/mimeinfo.cache" ||
  fail "the desktop entry is not the album type's handler"

content_type() { gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'; }
(
  use_prefix
  handler=$(gio mime application/x-vimbrel-album 2>&1)
  handler=${handler%%$'\n'*}
  [[ $handler == "Default application for "*": vimbrel.desktop" ]] ||
    fail "gio has no default application for albums: $handler"
) || exit 1

# ---------------------------------------------------------------- the Debian package
step "cpack -G DEB"
pkgdir=$E2E_TMP/pkg
mkdir -p "$pkgdir" && chmod 755 "$E2E_TMP" "$pkgdir"   # apt reads the package as user _apt
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$pkgdir" >"$E2E_TMP/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$E2E_TMP/cpack.log")"
debs=("$pkgdir"/vimbrel_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single vimbrel_*.deb: $(ls "$pkgdir")"
deb=${debs[0]}
[ "$(dpkg-deb -f "$deb" Package)" = vimbrel ] || fail "the package is not called vimbrel"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "wrong architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libgif7 fonts-liberation \
  libheif1 libraw20 qt6-image-formats-plugins; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "the package does not depend on $p: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qE "(^|, )qt6-translations-l10n( |,|$)" <<<"$recommends" ||
  fail "the package does not recommend Qt's translations: $recommends"
# Read whole first: grep -q stops at the first match, and under pipefail the tar it leaves
# writing into a closed pipe would fail the step now and then.
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/vimbrel/copyright) ||
  fail "the package has no copyright file"
grep -q '^License: GPL-3.0-or-later$' <<<"$copyright" ||
  fail "the package's copyright file does not name the GPL, version 3 or later"
diff <(expected_files | sed 's|^|/usr/|') \
  <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort) ||
  fail "the package's files differ from an installation's (< expected, > in the package)"

step "album detection"
wait "$sampler_pid" || fail "no sample album: $(cat "$E2E_TMP/sampler.log")"
sampler_pid=
[ "$(head -c 3 "$album")" = VMB ] || fail "the sample album does not start with VMB"
cp "$album" "$E2E_TMP/album-without-a-name"
# The album type by the name and by the first bytes.
(
  use_prefix
  [ "$(content_type "$album")" = application/x-vimbrel-album ] ||
    fail "gio sees $album as $(content_type "$album")"
  [ "$(content_type "$E2E_TMP/album-without-a-name")" = application/x-vimbrel-album ] ||
    fail "gio does not know an album by its first bytes: $(content_type "$E2E_TMP/album-without-a-name")"
) || exit 1

# ---------------------------------------------------------------- install it and open an album
if [ "$(id -u)" -eq 0 ]; then
  step "apt-get install ./$(basename "$deb")"
  if dpkg-query -W -f='${Status}' vimbrel 2>/dev/null | grep -q 'ok installed'; then
    echo "note: a vimbrel package was installed already; it is replaced, then removed"
  fi
  installed=yes
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >"$E2E_TMP/apt.log" 2>&1 ||
    fail "apt-get install failed: $(cat "$E2E_TMP/apt.log")"
  dpkg-query -W -f='${Status} ${Version}' vimbrel | grep -q '^install ok installed' ||
    fail "dpkg does not list vimbrel as installed"
  exe=/usr/bin/vimbrel
  datadir=/usr/share
  # The package's triggers updated the system's MIME database and desktop entry cache.
  [ "$(content_type "$album")" = application/x-vimbrel-album ] ||
    fail "after installing, gio sees $album as $(content_type "$album")"
else
  echo "SKIP: not root: the package was built and checked but is not installed; the program"
  echo "      installed in $prefix is opened instead"
  use_prefix
  datadir=$prefix/share
fi

# Nothing may be written into the installed program's folders from here on.
marker=$E2E_TMP/before-start
touch "$marker"
sleep 1
inotifywait -q -m -e open --format '%w' "$datadir/vimbrel/vimbra.hlp" >"$E2E_TMP/help-opened.log" 2>&1 &
watcher=$!
sleep 0.3

step "gio open $album"
gio open "$album" >"$E2E_TMP/open.log" 2>&1 || fail "gio open failed: $(cat "$E2E_TMP/open.log")"
page=$(window "^Vimbrel v 01.00$" 60) || fail "no Vimbrel window"
E2E_APP=$(xdotool getwindowpid "$page")
[ "$(readlink "/proc/$E2E_APP/exe")" = "$exe" ] ||
  fail "the window belongs to $(readlink "/proc/$E2E_APP/exe"), not $exe"
[ "$(tr '\0' '\n' <"/proc/$E2E_APP/cmdline" | sed -n 2p)" = "$album" ] ||
  fail "the program was not given the album: $(tr '\0' ' ' <"/proc/$E2E_APP/cmdline")"
gone "About Vimbrel" || fail "the splash stays"
sleep 1
# The page view and the chooser share their title; the chooser is the narrower one.
for id in $(xdotool search --onlyvisible --name "^Vimbrel v 01.00$"); do
  eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=/W=/p; s/^HEIGHT=/H=/p')"
  [ "$W" -ge 750 ] || fail "the album chooser shows: the album did not open"
  page=$id
done
shot 01-album-open

# The configuration file and the e-mail folder are the user's, as the design says.
grep -qaF "$album" "$XDG_CONFIG_HOME/vimbrel/vimbra.cfg" 2>/dev/null ||
  fail "the album is not in $XDG_CONFIG_HOME/vimbrel/vimbra.cfg"
[ -d "$XDG_CACHE_HOME/vimbrel/VIMBRA_EMAIL_PICS" ] || fail "no e-mail folder in $XDG_CACHE_HOME/vimbrel"

step "help"
eval "$(xdotool getwindowgeometry --shell "$page" | sed -n 's/^WIDTH=/W=/p; s/^HEIGHT=/H=/p')"
click_in "$page" $(((W - 790) / 2 + 17 * 36 + 17)) $((H - 49))   # the Help tool
help=$(window "^Vimbrel Help$") || fail "no help window"
for _ in $(seq 50); do [ -s "$E2E_TMP/help-opened.log" ] && break; sleep 0.1; done
[ -s "$E2E_TMP/help-opened.log" ] || fail "the program did not read $datadir/vimbrel/vimbra.hlp"
sleep 0.5
shot 02-help
xdotool key Escape
gone "^Vimbrel Help$" || fail "the help window stays"

step "exit"
click_in "$page" $(((W - 790) / 2 + 3 * 36 + 17)) $((H - 49))    # the Exit tool
for _ in $(seq 100); do
  kill -0 "$E2E_APP" 2>/dev/null || break
  xdotool search --onlyvisible --name "^Exit$" >/dev/null 2>&1 && xdotool key alt+n
  sleep 0.1
done
kill -0 "$E2E_APP" 2>/dev/null && fail "still running after Exit"
E2E_APP=
kill "$watcher" 2>/dev/null || true
watcher=

if [ -n "$installed" ]; then
  written=$(find /usr/bin/vimbrel /usr/share/vimbrel -newer "$marker")
  written+=" $(find /usr/bin -maxdepth 1 -iname 'vimbra*')"   # vimbra.cfg, VIMBRA_EMAIL_PICS
  verify=$(dpkg --verify vimbrel 2>&1) || true
  [ -z "$verify" ] || fail "the package's files changed: $verify"
else
  written=$(find "$prefix" -newer "$marker")
fi
[ -z "${written// /}" ] || fail "the program wrote into its installation: $written"

if [ -n "$installed" ]; then
  step "apt-get remove vimbrel"
  remove_package || fail "apt-get remove failed: $(cat "$E2E_TMP/remove.log")"
  installed=
  ! dpkg-query -W -f='${Status}' vimbrel 2>/dev/null | grep -q 'ok installed' || fail "vimbrel is still installed"
  [ ! -e /usr/bin/vimbrel ] || fail "/usr/bin/vimbrel is still there"
  [ ! -e /usr/share/vimbrel ] || fail "/usr/share/vimbrel is still there"
fi
echo "install: passed in ${SECONDS}s (screenshots in $E2E_ART)"

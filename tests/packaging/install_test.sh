#!/usr/bin/env bash
# What a Linux install holds: `cmake --install` of a build folder into a
# scratch root, then the Debian package that cpack makes of it, into a
# scratch folder (nothing is written to the source or build folder).
#
#   tests/packaging/install_test.sh path/to/build-folder
#
# Needs xmllint (libxml2-utils), desktop-file-validate (desktop-file-utils),
# ImageMagick's identify, and dpkg-shlibdeps (dpkg-dev) for cpack.
set -uo pipefail

build=${1:?usage: install_test.sh path/to/build-folder}
for needed in cmake cpack dpkg-deb dpkg-shlibdeps xmllint desktop-file-validate identify; do
  command -v "$needed" >/dev/null || { echo "FAIL: $needed is missing." >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Every file and link an install makes, relative to the root, sorted.
expected="usr/bin/orvel
usr/libexec/xscreensaver/orvel
usr/share/applications/orvel-settings.desktop
usr/share/icons/hicolor/32x32/apps/orvel.png
usr/share/xscreensaver/config/orvel.xml"

root=$work/root
if ! DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install failed"
fi
installed=$(cd "$root" 2>/dev/null && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
if [ "$installed" = "$expected" ]; then
  pass "the install holds the program, the hack, its description, the menu entry and the icon"
else
  fail "the installed files differ from those expected:"
  diff <(echo "$expected") <(echo "$installed") >&2
fi

program=$root/usr/bin/orvel
hack=$root/usr/libexec/xscreensaver/orvel
if [ -x "$program" ] && [ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ]; then
  pass "usr/bin/orvel is a program"
else
  fail "usr/bin/orvel is not an executable ELF file"
fi
link=$(readlink "$hack")
if [ -L "$hack" ] && [ "${link#/}" = "$link" ] && [ "$(realpath "$hack")" = "$(realpath "$program")" ]; then
  pass "the hack is a relative link to the program ($link)"
else
  fail "usr/libexec/xscreensaver/orvel is not a relative link to usr/bin/orvel (it is '$link')"
fi

# The description xscreensaver's settings program reads: well formed, named
# as the hack, started full screen, and with no options (the settings file
# holds them).
xml=$root/usr/share/xscreensaver/config/orvel.xml
xpath() { xmllint --xpath "$1" "$xml" 2>/dev/null; }
if ! xmllint --noout "$xml" 2>"$work/xmllint.log"; then
  fail "orvel.xml is not well formed: $(cat "$work/xmllint.log")"
elif [ "$(xpath 'string(/screensaver/@name)')" != orvel ] ||
  [ "$(xpath 'string(/screensaver/@_label)')" != Orvel ]; then
  fail "orvel.xml does not name the hack orvel, labelled Orvel"
elif [ "$(xpath 'count(/screensaver/command)')" != 1 ] ||
  [ "$(xpath 'string(/screensaver/command/@arg)')" != -root ]; then
  fail "orvel.xml does not start the hack with -root alone"
elif [ "$(xpath 'count(/screensaver/*)')" != 2 ] ||
  [ -z "$(xpath 'normalize-space(/screensaver/_description)')" ]; then
  fail "orvel.xml holds more than its command and its description"
else
  pass "orvel.xml describes the hack orvel, started with -root, without options"
fi

desktop=$root/usr/share/applications/orvel-settings.desktop
# Hints count too: one is a menu entry filed under no main category.
if ! desktop-file-validate "$desktop" >"$work/validate.log" 2>&1 || [ -s "$work/validate.log" ]; then
  fail "orvel-settings.desktop does not validate cleanly: $(cat "$work/validate.log")"
elif ! grep -qx 'Exec=orvel /c' "$desktop" || ! grep -qx 'Icon=orvel' "$desktop"; then
  fail "orvel-settings.desktop does not open orvel /c with the icon orvel"
else
  pass "orvel-settings.desktop validates and opens the settings dialog"
fi

icon=$root/usr/share/icons/hicolor/32x32/apps/orvel.png
if [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG 32x32" ]; then
  pass "the icon is a 32 x 32 PNG picture"
else
  fail "the icon is not a 32 x 32 PNG picture"
fi

# The package: the same files under /usr, and the packages the program
# needs beyond its libraries.
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
debs=("$work"/deb/orvel_*.deb)
deb=${debs[0]}
if [ ${#debs[@]} -ne 1 ] || [ ! -f "$deb" ]; then
  fail "cpack made no orvel_*.deb"
  exit 1
fi
packed=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
if [ "$packed" = "$expected" ]; then
  pass "$(basename "$deb") holds the installed files"
else
  fail "$(basename "$deb") holds other files than the install:"
  diff <(echo "$expected") <(echo "$packed") >&2
fi
# (The listing is read whole first: grep -q would stop dpkg-deb half way.)
listing=$(dpkg-deb -c "$deb")
if grep -q ' ./usr/libexec/xscreensaver/orvel -> \.\./\.\./bin/orvel$' <<<"$listing"; then
  pass "the package's hack is the relative link"
else
  fail "the package's usr/libexec/xscreensaver/orvel is not a link to ../../bin/orvel"
fi

# The package names in a relation field of the package (Depends, ...),
# one a line, without their versions.
names_in() { dpkg-deb -f "$deb" "$1" | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//'; }
depends=$(names_in Depends)
before=$failures
for package in gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly \
  libgtk-3-0 libgstreamer1.0-0 libc6; do
  grep -qx "$package" <<<"$depends" || fail "Depends does not name $package: $(dpkg-deb -f "$deb" Depends)"
done
grep -qx fonts-ipafont-gothic <<<"$(names_in Recommends)" || fail "Recommends does not name fonts-ipafont-gothic"
grep -qx xscreensaver <<<"$(names_in Suggests)" || fail "Suggests does not name xscreensaver"
[ "$(dpkg-deb -f "$deb" Package)" = orvel ] || fail "the package is not named orvel"
[ "$failures" -ne "$before" ] || pass "the package's relations: $(dpkg-deb -f "$deb" Depends Recommends Suggests | tr '\n' ' ')"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all packaging checks passed"

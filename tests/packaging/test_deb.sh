#!/usr/bin/env bash
# Builds the Debian package from a build tree with CPack, unpacks it into a
# temporary root (dpkg -x), validates its desktop entry, AppStream data and
# control file, runs the programs from there, and lints it: lintian must
# report no error (the warnings it may give are listed in the README).
#   test_deb.sh BUILD_DIR [OUTPUT_DIR]
# The package stays in OUTPUT_DIR when one is given.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/installed_programs.sh"
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=${2:-$work/package}
mkdir -p "$out"

version=$("$build/bin/vemo-cli" --version) || { echo "FAIL: no vemo-cli in $build/bin"; exit 1; }
version=${version#vemo-cli }
(cd "$build" && cpack -G DEB -B "$out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$out/vemo_${version}_amd64.deb
[ -f "$deb" ] || { ls "$out"; echo "FAIL: no $deb"; exit 1; }

# Dependencies: computed by dpkg-shlibdeps from the programs (Qt, the C and
# C++ libraries), plus the two named by hand for what is loaded at run time.
depends=$(dpkg-deb -f "$deb" Depends)
names=" $(sed -E 's/ \([^)]*\)//g; s/,//g' <<<"$depends") "
for d in libc6 libstdc++6 libqt6core6 libqt6widgets6 qt6-qpa-plugins fonts-dejavu-core; do
  [[ "$names" == *" $d "* ]] || fail "Depends lacks $d: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"

root=$work/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.tessaly.vemo.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tessaly.vemo.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log"; fail "AppStream data"; }
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.tessaly.vemo.metainfo.xml" ||
  fail "the AppStream release is not $version"
for f in usr/share/doc/vemo/copyright usr/share/doc/vemo/changelog.gz usr/share/man/man1/vemo.1.gz \
         usr/share/man/man1/vemo-cli.1.gz usr/share/icons/hicolor/scalable/apps/org.tessaly.vemo.svg \
         usr/share/icons/hicolor/48x48/apps/org.tessaly.vemo.png; do
  [ -s "$root/$f" ] || fail "not in the package: $f"
done
# Stripped, as Debian ships programs.
file "$root/usr/lib/vemo/vemo" | grep -q "not stripped" && fail "vemo is not stripped"

check_installed_programs "$root/usr/bin" "$root/usr/lib/vemo" "$build/bin/vemo-cli"

lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
grep -v "^running with root privileges" "$work/lintian.log"
grep -q "^E:" "$work/lintian.log" && fail "lintian reports errors"

[ "$failures" -eq 0 ] || exit 1
echo "package $deb checked"

#!/usr/bin/env bash
# cmake --install into a temporary prefix, move the prefix, and run the
# programs from the new place.
#   test_install.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/installed_programs.sh"
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/first" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
mv "$work/first" "$work/moved"
prefix=$work/moved
for f in share/applications/org.tessaly.vemo.desktop share/metainfo/org.tessaly.vemo.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.tessaly.vemo.svg share/doc/vemo/copyright \
         share/doc/vemo/changelog.gz share/man/man1/vemo.1.gz share/man/man1/vemo-cli.1.gz; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/org.tessaly.vemo.png" ] || fail "no ${size}x${size} icon"
done
# Nothing may point back into the build tree (debug information, which
# names the source and build folders by design, is left out of the search;
# so is a sanitizer build, whose checks carry the paths of generated sources).
[ -n "${VEMO_SANITIZED:-}" ] ||
while IFS= read -r -d '' f; do
  probe=$f
  if [ "$(head -c 4 "$f" | od -An -c | tr -d ' ')" = "177ELF" ]; then
    probe=$work/probe
    objcopy --strip-debug "$f" "$probe"
  fi
  grep -qF "$build" "$probe" && fail "$f names the build folder"
done < <(find "$prefix" -type f -print0)

check_installed_programs "$prefix/bin" "$prefix/lib/vemo" "$build/bin/vemo-cli"
check_missing_library "$prefix/bin" "$prefix/lib/vemo"
[ "$failures" -eq 0 ] || exit 1
echo "installed tree runs after moving the prefix"

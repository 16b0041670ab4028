# Checks shared by the install and package tests: the programs of an
# installed tree run from there and find every file in their program folder.
#   source installed_programs.sh
#   check_installed_programs BIN_FOLDER PROGRAM_FOLDER REFERENCE_VEMO_CLI
# BIN_FOLDER holds the links vemo and vemo-cli, PROGRAM_FOLDER the real
# programs, planets_vemo and the data. REFERENCE_VEMO_CLI is the build tree's
# vemo-cli, whose positions the installed one must print byte for byte.
# Sets `failures` (a count) and prints one line per fault.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

check_installed_programs() {
  local bin=$1 folder=$2 reference=$3 scratch
  scratch=$(mktemp -d)
  # The window keeps its per-user file and settings here, not in ~.
  export HOME=$scratch XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config
  export QT_QPA_PLATFORM=offscreen

  for f in vemo vemo-cli libplanets_vemo.so libvemo_cli_chart.so jupiter.dac saturn.dac uranus.dac \
           neptune.dac hpluto.2199.slx qel.dat vemo_help.txt vemo_help.de.txt manual/index.html; do
    [ -f "$folder/$f" ] || fail "missing from the program folder: $f"
  done
  for p in vemo vemo-cli; do
    [ -L "$bin/$p" ] || fail "$bin/$p is not a link"
    [ "$(readlink -f "$bin/$p")" = "$(readlink -f "$folder/$p")" ] || fail "$bin/$p does not lead to $folder/$p"
  done

  local version
  version=$("$reference" --version)
  [ "$("$bin/vemo-cli" --version)" = "$version" ] || fail "vemo-cli --version differs from the build's ($version)"
  [ "$("$bin/vemo" --version)" = "${version/vemo-cli/vemo}" ] || fail "vemo --version differs from vemo-cli's"

  if ! diff <("$reference" positions --jd 2451545 --format json 2>&1) \
            <("$bin/vemo-cli" positions --jd 2451545 --format json 2>&1); then
    fail "installed vemo-cli positions differ from the build tree's"
  fi
  local table
  if ! table=$("$bin/vemo-cli" table --mode world --world 2000-01-01T12:00Z 2>&1); then
    fail "vemo-cli table failed: $table"
  elif ! grep -q "Jupiter" <<<"$table" || grep -q "warning" <<<"$table"; then
    fail "vemo-cli table printed no table or a warning: $table"
  fi

  # The window: a start that finds everything keeps running (the start-up
  # ends at once, with a "vemo:" line on stderr, when a file is missing).
  local rc=0
  timeout 8 "$bin/vemo" >"$scratch/out" 2>"$scratch/err" || rc=$?
  [ "$rc" -eq 124 ] || fail "the window ended early (exit $rc): $(cat "$scratch/err")"
  if grep "^vemo:" "$scratch/err"; then fail "the window reported a problem at start-up"; fi
  rm -rf "$scratch"
}

# The same programs must say plainly what is missing when planets_vemo is
# taken away (proves that the tree, not the build folder, was used).
check_missing_library() {
  local bin=$1 folder=$2 scratch out rc=0
  scratch=$(mktemp -d)
  export HOME=$scratch XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=offscreen
  mv "$folder/libplanets_vemo.so" "$scratch/"
  out=$("$bin/vemo-cli" positions --jd 2451545 2>&1) && fail "vemo-cli ran without planets_vemo"
  grep -q "planets_vemo" <<<"$out" || fail "vemo-cli does not name planets_vemo: $out"
  out=$(timeout 8 "$bin/vemo" 2>&1) || rc=$?
  [ "$rc" -eq 1 ] || fail "the window did not end with exit 1 without planets_vemo (exit $rc)"
  grep -q "^vemo: .*planets_vemo" <<<"$out" || fail "the window does not name planets_vemo: $out"
  mv "$scratch/libplanets_vemo.so" "$folder/"
  rm -rf "$scratch"
}

# Shared by scripts/run and scripts/test: installs the Debian packages the build
# needs when they are missing, then configures and builds one build tree.
set -euo pipefail

VEMO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VEMO_PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libgmock-dev
               libbenchmark-dev fonts-dejavu-core fonts-liberation xvfb xauth python3-icalendar
               dpkg-dev file lintian desktop-file-utils appstream qt6-qpa-plugins poppler-utils)

vemo_install_packages() {
  local missing=()
  for p in "${VEMO_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# vemo_build DIR [cmake options...]
vemo_build() {
  local dir=$1; shift
  cmake -S "$VEMO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" -j2
}

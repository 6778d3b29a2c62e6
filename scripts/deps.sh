#!/usr/bin/env bash
# Installs the Debian packages a group needs, only when some are missing.
#   scripts/deps.sh build|test|run|package
set -euo pipefail

build=(cmake ninja-build g++ pkg-config zlib1g-dev libpng-dev qt6-base-dev qt6-base-dev-tools libgl-dev)
test_extra=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool x11-utils
            imagemagick fonts-wqy-microhei shared-mime-info desktop-file-utils xdg-utils
            libfile-mimeinfo-perl libglib2.0-bin)
run_extra=(fonts-wqy-microhei libqt6svg6 qt6-qpa-plugins)
package_extra=(dpkg-dev)

case "${1:-build}" in
  build) want=("${build[@]}") ;;
  test) want=("${build[@]}" "${test_extra[@]}") ;;
  run) want=("${build[@]}" "${run_extra[@]}") ;;
  package) want=("${build[@]}" "${package_extra[@]}") ;;
  *) echo "usage: $0 build|test|run|package" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

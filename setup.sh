#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds, and then starts the
# program or runs the tests. Run as root on Debian 12, from the checkout:
#   ./setup.sh start [ARGS...]   install, build, start taotu
#   ./setup.sh test              install, build with -Werror, run all tests
#   ./setup.sh sanitize          the tests again under ASan and UBSan
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-start}
shift || true

packages=(build-essential cmake ninja-build pkg-config
          libcurl4-openssl-dev libpcre2-dev libssl-dev libcli11-dev
          libgtest-dev libgmock-dev qt6-base-dev libgl-dev)
case "$mode" in
  start) packages+=(fonts-noto-cjk) ;;
  test|sanitize) packages+=(clang-format) ;;
  *) echo "usage: $0 start|test|sanitize" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
build() {  # build DIR CMAKE-ARGS...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "$mode" in
  start)
    build build
    if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
      exec build/taotu "$@"
    fi
    echo "No display here: the command line is build/taotu-cli." >&2
    exec build/taotu-cli --help
    ;;
  test)
    build build -DTAOTU_WERROR=ON
    git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
    ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300
    ;;
  sanitize)
    build build-sanitize -DTAOTU_WERROR=ON -DTAOTU_SANITIZE=ON -DTAOTU_BUILD_GUI=OFF
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" --timeout 300
    ;;
esac

#!/usr/bin/env bash
# Takes a screenshot of the main window under a virtual X display, with a CJK
# font installed: ./tools/screenshot.sh [out.png]  (run as root on Debian 12,
# after ./setup.sh start or ./setup.sh test has built build/taotu).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-taotu-window.png}")

packages=(xvfb xauth imagemagick fonts-noto-cjk)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[[ -x build/taotu ]] || { echo "build/taotu is missing: run ./setup.sh start first" >&2; exit 2; }

# No maker's server is reached: the announcement host points at nothing.
export TAOTU_VERSION_HOST=127.0.0.1:9
xvfb-run -a -s "-screen 0 1200x760x24" bash -c '
  build/taotu & pid=$!
  sleep 4
  import -window root "$0"
  kill $pid' "$out"
echo "screenshot: $out"

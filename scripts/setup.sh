#!/usr/bin/env bash
# Installs what Velmora needs to build, test and run, from Debian's packages,
# when it is missing. Safe to run again: it installs nothing that is there.
set -euo pipefail

packages=(
  cmake g++ make ccache          # the build (ccache keeps compiled objects between builds)
  qt6-base-dev                   # the window toolkit (Widgets, Test, PrintSupport, offscreen platform)
  libsqlite3-dev                 # the word database engine
  libpq-dev                      # the word database on a PostgreSQL server (libpq)
  postgresql postgresql-contrib  # the tests' throwaway server, with pg_trgm for patterns
  libgtest-dev libbenchmark-dev  # tests and benchmarks
  nlohmann-json3-dev             # JSON for the iso-codes reader
  mythes-en-us wordnet-base iso-codes # the word data the first (English) word database is built from
  wamerican-small wamerican wamerican-large wamerican-huge wamerican-insane # commonness ranks (SCOWL)
  mythes-no wnorwegian           # Norwegian word data, for the README's Norwegian word database
  dict-freedict-eng-nor          # English-Norwegian dictionary: WordNet's values carried into Norwegian
  libz-dev                       # reading the dictionary's .dict.dz
  libxcb1-dev                    # X11: a window's title emptied (the intro window has none)
  xvfb xauth xdotool imagemagick # the end-to-end test: a real X server, real input, screenshots
  x11-utils                      # the end-to-end test reads window titles (xprop)
  sqlite3                        # the end-to-end test reads the rows back
  poppler-utils                  # the tests read the exported PDF back (pdftotext, pdftoppm)
  fonts-dejavu-core fonts-liberation # fonts for the windows (Liberation Sans has the old fonts' widths)
  qt6-svg-dev                    # the menu entry's icon is painted into an SVG file at build time
  desktop-file-utils appstream file # the install test validates the menu entry, metainfo and icons
  dpkg-dev                       # the .deb: its library dependencies (dpkg-shlibdeps)
  clang-format clang-tidy python3 # CI's format and lint checks (scripts/lint.sh, scripts/tidy.py)
)
[ "${VELMORA_FUZZ:-}" = 1 ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

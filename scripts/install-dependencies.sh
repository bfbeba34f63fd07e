#!/usr/bin/env bash
# Installs the Debian packages that Tavrino needs to build, test and run, and only those
# that are missing. Prints what it installs.
#
#   scripts/install-dependencies.sh [--fuzz] [--screenshots] [--package]
#
# --fuzz adds clang and its libFuzzer runtime, which only `make fuzz` needs.
# --screenshots adds what `make screenshots` needs beyond the tests: optipng to keep the
# pictures small (Xvfb and xauth, which it draws on, the tests need too).
# --package adds what `make deb` needs to build a Debian package (dpkg-shlibdeps), and the tools
# that check and try it: lintian, and debootstrap for a clean Debian root.
set -euo pipefail

# libgraphviz-dev: `graph --format svg` lays out and draws in-process, without the dot program.
# python3-jsonschema: a test validates `check --format sarif` against the SARIF schema.
# qt6-speech-dev's headers and CMake files use Qt's QML integration, which its Debian
# package does not pull in: qt6-declarative-dev brings it.
packages=(
  g++ cmake ninja-build make
  qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-speech-dev qt6-declarative-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgraphviz-dev pkg-config
  fonts-dejavu-core xvfb xauth python3 python3-jsonschema
  desktop-file-utils appstream man-db groff-base
)
fuzz_packages=(clang libclang-rt-14-dev)
screenshot_packages=(xvfb xauth optipng)
package_packages=(dpkg-dev fakeroot file lintian debootstrap)

for argument in "$@"; do
  case "$argument" in
    --fuzz) packages+=("${fuzz_packages[@]}") ;;
    --screenshots) packages+=("${screenshot_packages[@]}") ;;
    --package) packages+=("${package_packages[@]}") ;;
    *)
      echo "usage: $0 [--fuzz] [--screenshots] [--package]" >&2
      exit 2
      ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "Cannot install ${missing[*]}: not root and no sudo. Install them, then try again." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

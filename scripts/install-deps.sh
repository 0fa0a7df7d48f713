#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when
# they are all present. Run as root on Debian 12.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  googletest libgtest-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth fonts-wqy-zenhei imagemagick
  python3 python3-jsonschema
  fp-utils libchm-bin
  sdcc sdcc-ucsim as31 dpkg-dev
  clang libclang-rt-dev clang-tidy-22 clang-format cppcheck
  wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 libclang-rt-14-dev-wasm32 lld libfast-float-dev
  binaryen zopfli
  chromium nodejs
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

# npm comes with some packagings of nodejs; Debian's nodejs needs Debian's npm.
if ! command -v npm >/dev/null; then
  missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"

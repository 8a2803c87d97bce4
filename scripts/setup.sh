#!/bin/sh
# Installs everything the builds, the tests and a run under Wine need, on Debian 12 as root.
# Safe to run again: apt skips what is there, the locales are generated once.
set -eu

export DEBIAN_FRONTEND=noninteractive

packages="
  cmake make g++ googletest libgtest-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-microhei fonts-wine locales python3 python3-yaml openssl libssl-dev nsis
  git osslsigncode softhsm2 libengine-pkcs11-openssl ccache iproute2 util-linux
  clang-14 libclang-rt-14-dev clang-format
"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  apt-get update
  # shellcheck disable=SC2086
  apt-get install -y --no-install-recommends $missing
fi

# Wine takes its ANSI code page from the locale: 936 (zh_CN), and for the code-page tests 950
# (zh_TW) and 1252 (en_US).
locales_generated=
for wanted in zh_CN zh_TW en_US; do
  locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8$" && continue
  sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
  grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" >> /etc/locale.gen
  locales_generated=yes
done
[ -z "$locales_generated" ] || locale-gen

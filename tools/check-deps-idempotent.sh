#!/usr/bin/env bash
# Checks tools/install-deps.sh for CI: after a first run every package it names is
# installed (a virtual or misspelt name never is), and a second run touches no
# package manager. The second run finds apt-get, apt, aptitude, dpkg and sudo
# replaced by stubs that note the call and fail; any call fails the check.
# Exit status 0 when both hold, 1 otherwise (with the reason on stderr).
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh

not_installed=()
while read -r p; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
    not_installed+=("$p")
done < <(./tools/install-deps.sh --list)
if [ ${#not_installed[@]} -ne 0 ]; then
  echo "check-deps: not installed after install-deps.sh: ${not_installed[*]}" >&2
  exit 1
fi

stubs="$(mktemp -d)"
trap 'rm -rf "$stubs"' EXIT
calls="$stubs/calls"
for tool in apt-get apt aptitude dpkg sudo; do
  printf '#!/bin/sh\necho "%s $*" >> "%s"\nexit 1\n' "$tool" "$calls" > "$stubs/$tool"
  chmod +x "$stubs/$tool"
done
second=0
PATH="$stubs:$PATH" ./tools/install-deps.sh || second=$?
if [ -s "$calls" ]; then
  echo "check-deps: the second run of install-deps.sh called:" >&2
  sed 's/^/  /' "$calls" >&2
  exit 1
fi
if [ "$second" -ne 0 ]; then
  echo "check-deps: the second run of install-deps.sh failed ($second)" >&2
  exit 1
fi
echo "check-deps: every package installed; a second run touches no package manager"

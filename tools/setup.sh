#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages.txt that are missing.
# As root it runs apt-get itself; otherwise it prints the exact command and stops.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
# One query for them all (each reads dpkg's whole database); it fails when
# some are unknown to dpkg, which are missing too. A package counts by its
# name with its architecture too (libc6:amd64), as packages.txt may list it.
declare -A installed=()
while read -r pkg qualified status; do
    if [ "$status" = "install ok installed" ]; then
        installed[$pkg]=1
        installed[$qualified]=1
    fi
done < <(dpkg-query -W -f='${Package} ${binary:Package} ${Status}\n' "${wanted[@]}" 2>/dev/null)
missing=()
for pkg in "${wanted[@]}"; do
    if [ -z "${installed[$pkg]:-}" ]; then
        missing+=("$pkg")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

command="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && $command" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/bin/bash
# SPDX-License-Identifier: MIT
# Checks a built .deb: it holds every installed file under /usr and depends on the libraries
# its programs link, on the SQLite driver and on the Japanese font.
# Usage: checkpackage.sh DEB SOURCE_DIR
set -euo pipefail
deb=$1
source=$2
fail() {
    echo "FAIL: $deb: $*" >&2
    exit 1
}
listed=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
while read -r file; do
    case $file in '#'* | '') continue ;; esac
    grep -qx "\./usr/$file" <<<"$listed" || fail "does not hold /usr/$file"
done <"$source/dist/installed-files.txt"
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libc6 fonts-ipafont-gothic; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "does not depend on $package: $depends"
done

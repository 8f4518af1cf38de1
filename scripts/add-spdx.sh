#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Puts the licence's SPDX line at the top of every tracked source file that lacks one (after a "#!" line).
# Running it again changes nothing. With --check it changes nothing and lists the files without the line,
# failing when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."

LICENSE_ID=MIT
TAG="SPDX-License-Identifier:"

check=false
[ "${1:-}" = --check ] && check=true

comment_for() {
    case $1 in
    *.cpp | *.h | *.h.in) echo "//" ;;
    *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt) echo "#" ;;
    *) head -c 2 "$1" 2>/dev/null | grep -q '^#!' && echo "#" ;; # a script without an extension
    esac
}

missing=0
while IFS= read -r file; do
    marker=$(comment_for "$file" || true)
    [ -n "$marker" ] && [ -f "$file" ] || continue
    head -n 3 "$file" | grep -q "$TAG" && continue
    missing=$((missing + 1))
    if $check; then
        echo "no SPDX line: $file"
        continue
    fi
    line="$marker $TAG $LICENSE_ID"
    if head -n 1 "$file" | grep -q '^#!'; then
        sed -i "1a $line" "$file"
    else
        sed -i "1i $line" "$file"
    fi
done < <(git ls-files)

if $check && [ $missing -gt 0 ]; then
    echo "$missing file(s) without an SPDX line; scripts/add-spdx.sh adds it" >&2
    exit 1
fi
$check || echo "SPDX line added to $missing file(s)"

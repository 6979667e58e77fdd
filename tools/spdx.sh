#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Keeps the licence line "SPDX-License-Identifier: MIT" at the top of every source file: C++
# sources and headers, CMake files, templates, shell scripts, Doxygen inputs.
#
#   tools/spdx.sh check   lists the files without the line; fails if there is one (a CTest)
#   tools/spdx.sh add     adds the line where it is missing (idempotent): as the first line,
#                         or the second after a "#!" line, in the file's comment syntax
#
# Files come from git (tracked and untracked, .gitignore respected) or, outside a git checkout,
# from the source directories.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-check}
tag='SPDX-License-Identifier: MIT'

list_files() {
    local patterns=('*.h' '*.cpp' '*.cmake' '*.in' '*.sh' '*.dox' 'CMakeLists.txt' '.ci/run')
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard -- "${patterns[@]}" ':!:**/CMakeLists.txt' \
            | sort -u
        git ls-files --cached --others --exclude-standard -- 'CMakeLists.txt' '**/CMakeLists.txt'
    else
        find include src tests bench examples tools cmake docs .ci CMakeLists.txt -type f \
            \( -name '*.h' -o -name '*.cpp' -o -name '*.cmake' -o -name '*.in' -o -name '*.sh' \
            -o -name '*.dox' -o -name CMakeLists.txt -o -path .ci/run \) 2>/dev/null
    fi | sort -u | while read -r f; do [ -f "$f" ] && echo "$f"; done
}

comment_for() {
    case "$1" in
        *.h | *.cpp | *.dox | *.rc.in) echo "// $tag" ;;
        *) echo "# $tag" ;;
    esac
}

# The files whose first two lines lack the tag, found by one awk over all of them.
without_tag() {
    list_files | tr '\n' '\0' | xargs -0 awk -v tag="$tag" '
        FNR == 1 { if (NR > 1 && !found) print previous; found = 0; previous = FILENAME }
        FNR <= 2 && index($0, tag) { found = 1 }
        END { if (NR > 0 && !found) print previous }'
}

missing=0
while read -r f; do
    if [ "$mode" = add ]; then
        line=$(comment_for "$f")
        if head -n 1 "$f" | grep -q '^#!'; then
            sed -i "1a $line" "$f"
        else
            sed -i "1i $line" "$f"
        fi
        echo "added: $f"
    else
        echo "no licence line: $f"
        missing=$((missing + 1))
    fi
done < <(without_tag)

if [ "$mode" = check ] && [ "$missing" -gt 0 ]; then
    echo "$missing file(s) lack '$tag'; run tools/spdx.sh add" >&2
    exit 1
fi

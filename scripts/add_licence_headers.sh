#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Gives every file that git tracks and that names no licence yet the project's copyright and
# licence lines, in the comment syntax of its kind, after a shebang or XML declaration where there
# is one. Files that cannot carry a comment (pictures, the Debian copyright file) are covered by
# .reuse/dep5 and left alone. Running it again changes nothing.
#   scripts/add_licence_headers.sh
# Afterwards `reuse lint` checks the whole tree. A file of a kind this script does not know is
# listed, and the script fails: give it a header by hand or an entry in .reuse/dep5.
set -euo pipefail
cd "$(dirname "$0")/.."

# Split so that this script's own text is not read as a licence statement.
copyright_tag="SPDX-File""CopyrightText"
licence_tag="SPDX-License""-Identifier"
copyright_line="$copyright_tag: 2026 The Ledgerly developers"
licence_line="$licence_tag: GPL-3.0-or-later"

# The patterns of .reuse/dep5's Files fields; * matches across folders there, as in [[ == ]].
dep5_patterns=()
if [ -f .reuse/dep5 ]; then
    while read -r pattern; do
        dep5_patterns+=("$pattern")
    done < <(awk '/^Files:/ { sub(/^Files:/, ""); files = 1 }
                  /^[A-Za-z-]+:/ && !/^Files:/ { files = 0 }
                  files { for (i = 1; i <= NF; i++) print $i }' .reuse/dep5)
fi

covered_by_dep5() {
    local pattern
    for pattern in "${dep5_patterns[@]}"; do
        # shellcheck disable=SC2053 # the pattern is meant to match as a glob
        [[ $1 == $pattern ]] && return 0
    done
    return 1
}

# The comment syntax of a file: c (//), hash (#), xml (<!-- -->), roff (.\"), or nothing.
style_of() {
    case "$1" in
        *.cpp | *.cc | *.c | *.h | *.hpp | *.js | *.qml) echo c ;;
        *.sh | *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt | *.desktop | *.desktop.in | \
            *.dict | *.supp | *.yml | *.yaml | *.toml | *.cfg | *.ini | *.gitignore | \
            .clang-format | .clang-tidy | */.gitignore | .gitattributes | .ci/*) echo hash ;;
        *.md | *.xml | *.xml.in | *.svg | *.html | *.ui | *.qrc) echo xml ;;
        *.[1-8] | *.[1-8].in) echo roff ;;
        *)
            if head -c 2 "$1" | grep -q '^#!'; then
                echo hash
            fi
            ;;
    esac
}

header_for() {
    case "$1" in
        c) printf '// %s\n// %s\n\n' "$copyright_line" "$licence_line" ;;
        hash) printf '# %s\n# %s\n\n' "$copyright_line" "$licence_line" ;;
        xml) printf '<!-- %s -->\n<!-- %s -->\n\n' "$copyright_line" "$licence_line" ;;
        roff) printf '.\\" %s\n.\\" %s\n' "$copyright_line" "$licence_line" ;;
    esac
}

# Run as one function read in whole before it starts: this script gets its own header too, and
# bash would otherwise read on at the wrong place of the changed file.
main() {
    local added=0 unknown=() file style keep_first first temporary
    while IFS= read -r -d '' file; do
        case "$file" in
            LICENSE | LICENSES/* | .reuse/*) continue ;;
        esac
        [ -f "$file" ] && [ ! -L "$file" ] || continue
        grep -q "$licence_tag" "$file" && continue
        covered_by_dep5 "$file" && continue
        style=$(style_of "$file")
        if [ -z "$style" ]; then
            unknown+=("$file")
            continue
        fi
        # What must stay the first line: a shebang, or an XML declaration.
        keep_first=0
        first=$(head -n 1 "$file")
        if [[ $first == '#!'* ]] || [[ $style == xml && $first == '<?xml'* ]]; then
            keep_first=1
        fi
        temporary=$(mktemp)
        {
            if [ $keep_first -eq 1 ]; then
                head -n 1 "$file"
                header_for "$style"
                tail -n +2 "$file"
            else
                header_for "$style"
                cat "$file"
            fi
        } >"$temporary"
        cat "$temporary" >"$file"   # keeps the file's mode
        rm -f "$temporary"
        added=$((added + 1))
    done < <(git ls-files -z)

    echo "licence headers added to $added files"
    if [ ${#unknown[@]} -gt 0 ]; then
        echo "no comment syntax known for these; give them a header or an entry in .reuse/dep5:" >&2
        printf '  %s\n' "${unknown[@]}" >&2
        exit 1
    fi
}

main "$@"; exit   # on one line, read before the file changes

#!/usr/bin/env bash
# The tree's own rules: Qt stays inside platform/, and nothing in the code, the tests or the file names
# refers to the design documents' numbering.
set -u
root=${1:?source folder}
cd "$root" || exit 2

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files -co --exclude-standard)
else
    files=$(find . -type f -not -path './.git/*' -not -path './build*' | sed 's|^\./||')
fi
files=$(printf '%s\n' "$files" | grep -v -E '^(build|out)[^/]*/' | grep -v '^README\.md$')
src=$(printf '%s\n' "$files" | grep -E '\.(c|cc|cpp|h|hpp)$')
status=0

qt=$(printf '%s\n' "$src" | grep -v '^platform/' | xargs -r grep -H -n -E '#\s*include\s*[<"](Q[A-Za-z]|Qt[A-Za-z]*/)' 2>/dev/null)
if [ -n "$qt" ]; then
    echo "Qt headers outside platform/:"
    printf '  %s\n' "$qt"
    status=1
fi

# Built from pieces so that this script does not match itself.
word='spe''c'
pattern="\\bPar""t [0-9]+\\.[0-9]+|\\bpiec""e-0[0-9]|\\b${word}ification\\b|\\bthe ${word}\\b|\\bper ${word}\\b|\\b${word}\\b"
text=$(printf '%s\n' "$files" | grep -E '\.(c|cc|cpp|h|hpp|dfm|txt|cmake|sh|py|md|ini|skin)$|(^|/)(Makefile|CMakeLists\.txt)$')
# CTest's own option for its resource file keeps the word.
refs=$(printf '%s\n' "$text" | xargs -r grep -H -n -I -E "$pattern" 2>/dev/null |
    sed -E "s/--resource-${word}-file//g" | grep -E "$pattern")
if [ -n "$refs" ]; then
    echo "References to the design documents' numbering:"
    printf '  %s\n' "$refs" | head -20
    status=1
fi
names=$(printf '%s\n' "$files" | grep -i -E "${word}|par""t[-_ ]?[0-9]")
if [ -n "$names" ]; then
    echo "File names that refer to the design documents:"
    printf '  %s\n' "$names"
    status=1
fi

# The formats are plain code that the tools and fuzzers share: they never reach into the windows.
up=$(printf '%s\n' "$src" | grep -E '^(tools|fuzz|formats)/' | xargs -r grep -H -n -E '#\s*include\s*"client/' 2>/dev/null)
win=$(printf '%s\n' "$src" | grep -E '^formats/' | xargs -r grep -H -n -E '#\s*include\s*"(platform/(vcl|win)|controls|recdb|playback|setup|client)/' 2>/dev/null)
if [ -n "$up$win" ]; then
    echo "tools/, fuzz/ and formats/ include the formats, never window code:"
    printf '  %s\n' $up $win
    status=1
fi

[ "$status" = 0 ] && echo "tree rules hold"
exit "$status"

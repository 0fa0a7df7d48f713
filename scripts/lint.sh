#!/usr/bin/env bash
# Runs clang-tidy and cppcheck over the project's own sources: the portable
# ones with the native build's compile database, the Windows ones with the
# cross build's, seen through clang as a mingw-w64 target. Exits non-zero on
# any finding.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

[ -f build/native/compile_commands.json ] || cmake --preset native >/dev/null
[ -f build/win64/compile_commands.json ] || cmake --preset win64 >/dev/null

mapfile -t sources < <(git ls-files 'text/*.cpp' 'engine/*.cpp' 'codegen/*.cpp' 'cli/*.cpp' 'tests/*.cpp' \
  | grep -v -E '_win32\.cpp$|^tests/(e2e|framework|ui)/')

status=0
echo "== clang-tidy, portable sources (${#sources[@]} files)"
if ! clang-tidy -p build/native --quiet --warnings-as-errors='*' "${sources[@]}" 2>/dev/null; then
  status=1
fi

mapfile -t windowsSources < <(git ls-files 'framework/*.cpp' 'ui/*.cpp' '*_win32.cpp' 'tests/e2e/*.cpp' \
  'tests/framework/*.cpp' 'tests/ui/*.cpp')
mingwCxx=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")/include/c++
echo "== clang-tidy, Windows sources (${#windowsSources[@]} files)"
# mingw's headers spell their long constants with a pasted lower-case l
# (__MSABI_LONG), which cert-dcl16-c reports at every use without a location
# that could carry a suppression.
if ! clang-tidy -p build/win64 --quiet --warnings-as-errors='*' --checks=-cert-dcl16-c \
    --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++ \
    "--extra-arg=-isystem$mingwCxx" "--extra-arg=-isystem$mingwCxx/x86_64-w64-mingw32" \
    --extra-arg=-isystem/usr/x86_64-w64-mingw32/include \
    "${windowsSources[@]}" 2>/dev/null; then
  status=1
fi

echo "== cppcheck"
if ! cppcheck --enable=warning,style,performance,portability --std=c++20 --language=c++ \
    --inline-suppr --quiet --error-exitcode=1 \
    --suppress=missingIncludeSystem --suppress=unusedFunction \
    -I . text engine codegen cli framework ui; then
  status=1
fi
exit $status

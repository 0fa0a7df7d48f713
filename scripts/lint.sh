#!/usr/bin/env bash
# Runs clang-tidy and cppcheck over the project's own portable sources, using
# the native build's compile database. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

[ -f build/native/compile_commands.json ] || cmake --preset native >/dev/null

mapfile -t sources < <(git ls-files 'text/*.cpp' 'engine/*.cpp' 'codegen/*.cpp' 'cli/*.cpp' 'tests/*.cpp' \
  | grep -v -E '_win32\.cpp$|^tests/(e2e|framework|ui)/')

status=0
echo "== clang-tidy (${#sources[@]} files)"
if ! clang-tidy -p build/native --quiet --warnings-as-errors='*' "${sources[@]}" 2>/dev/null; then
  status=1
fi

echo "== cppcheck"
if ! cppcheck --enable=warning,style,performance,portability --std=c++20 --language=c++ \
    --inline-suppr --quiet --error-exitcode=1 \
    --suppress=missingIncludeSystem --suppress=unusedFunction \
    -I . text engine codegen cli; then
  status=1
fi
exit $status

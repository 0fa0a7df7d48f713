#!/usr/bin/env bash
# Static checks over the project's own sources, with zero findings allowed:
#   - clang-format: every C++ file matches .clang-format;
#   - clang-tidy (LLVM 22, which skips the system headers' declarations that
#     older versions walked again for every file) with the checked-in
#     .clang-tidy: the portable sources with the sanitizer build's compile
#     database (the build the tests run on), the page's bridge and the table-only
#     GBK conversions with the WebAssembly build's, the fuzz targets with the fuzz build's,
#     the Windows sources with the cross build's, seen through clang as a
#     mingw-w64 target;
#   - cppcheck with the options below.
# clang-tidy runs two processes at a time, one file each. Exits non-zero on
# any finding.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Each build's compile database, and the one header its build generates
# (engine/text_key.h, which the sources include): built with the engine when
# missing, as in a tree that was configured and never built.
for preset in asan wasm win64 fuzz; do
  [ -f "build/$preset/compile_commands.json" ] || cmake --preset "$preset" >/dev/null
  [ -f "build/$preset/engine/text_key.h" ] || cmake --build "build/$preset" --target tesmirol_engine >/dev/null
done

status=0

mapfile -t allSources < <(git ls-files '*.cpp' '*.h')
echo "== clang-format (${#allSources[@]} files)"
if ! clang-format --dry-run -Werror "${allSources[@]}"; then
  status=1
fi

# The files clang-tidy checks, by the build whose compile database they are
# seen through.
mapfile -t sources < <(git ls-files 'text/*.cpp' 'engine/*.cpp' 'codegen/*.cpp' 'answers/*.cpp' 'cli/*.cpp' 'tests/*.cpp' \
  | grep -v -E '_win32\.cpp$|^tests/(e2e|framework|ui|fuzz)/|^text/(encoding_table|gbk_table_browser)\.cpp$')
mapfile -t webSources < <(git ls-files 'web/*.cpp' 'text/encoding_table.cpp' 'text/gbk_table_browser.cpp')
mapfile -t fuzzSources < <(git ls-files 'tests/fuzz/*.cpp')
mapfile -t windowsSources < <(git ls-files 'framework/*.cpp' 'ui/*.cpp' '*_win32.cpp' 'tests/e2e/*.cpp' \
  'tests/framework/*.cpp' 'tests/ui/*.cpp')
echo "== clang-tidy: ${#sources[@]} portable sources, ${#webSources[@]} WebAssembly sources," \
  "${#fuzzSources[@]} fuzz targets, ${#windowsSources[@]} Windows sources"

# Checks one file with the options of its group:
#   native   the portable sources, with the sanitizer build's compile database,
#            one of whose warning options is g++'s alone. The benchmark
#            library's registration macro uses __COUNTER__, which LLVM 22
#            reports under -Wpedantic as an extension. libstdc++ 12's
#            stable_sort calls its own deprecated get_temporary_buffer, which
#            LLVM 22 reports at the caller: deprecated declarations are left
#            to g++, whose -Wall -Werror build stops at any the code uses;
#   wasm     the page's bridge, the table-only GBK conversions and the table
#            the browser's GBK decoder fills, with the
#            WebAssembly build's. Seen through libc++, the extern declaration
#            of a string_view constant in codegen/init_code_generator.h reads
#            to clang-tidy as a definition that might be initialized at
#            run time; it is defined constant in its .cpp. The build's
#            clang names the target wasm32-wasi, which LLVM 22 calls
#            deprecated in a warning of the -Wdeprecated group, turned off;
#   fuzz     the fuzz targets, with the fuzz build's;
#   windows  the Windows sources, with the cross build's, seen through clang
#            as a mingw-w64 target. mingw's headers spell their long
#            constants with a pasted lower-case l (__MSABI_LONG), which
#            cert-dcl16-c reports at every use without a location that could
#            carry a suppression.
TidyOne() {
  local group=$1 file=$2
  # The platform files of the command line keep the path-sensitive analyzer
  # that cli/.clang-tidy turns off for the rest of the folder.
  local analyzer=""
  case $file in cli/*_posix.cpp | cli/*_win32.cpp) analyzer=",clang-analyzer-*" ;; esac
  case $group in
    native) $CLANG_TIDY --quiet -p build/asan --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-c2y-extensions \
      --extra-arg=-Wno-deprecated-declarations \
      ${analyzer:+"--checks=${analyzer#,}"} "$file" ;;
    wasm) $CLANG_TIDY --quiet -p build/wasm --checks=-bugprone-dynamic-static-initializers \
      --extra-arg=-Wno-deprecated "$file" ;;
    fuzz) $CLANG_TIDY --quiet -p build/fuzz "$file" ;;
    windows)
      local mingwCxx
      mingwCxx=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")/include/c++
      $CLANG_TIDY --quiet -p build/win64 "--checks=-cert-dcl16-c${analyzer}" \
        --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++ \
        "--extra-arg=-isystem$mingwCxx" "--extra-arg=-isystem$mingwCxx/x86_64-w64-mingw32" \
        --extra-arg=-isystem/usr/x86_64-w64-mingw32/include "$file"
      ;;
  esac
} 2>/dev/null
export -f TidyOne
export CLANG_TIDY=${CLANG_TIDY:-clang-tidy-22}

# One file per process, two processes at a time, the largest files first:
# a file takes from 2 to 20 seconds (most of it clang-tidy's walk over the
# system headers' declarations, paid again for every file), so handing out
# single files keeps both processes busy to the end, where batches of four
# and one list per group left one idle for a batch's time at the end of
# every group.
TidyJobs() {
  {
    for file in "${sources[@]}"; do printf '%s native %s\n' "$(stat -c %s "$file")" "$file"; done
    for file in "${webSources[@]}"; do printf '%s wasm %s\n' "$(stat -c %s "$file")" "$file"; done
    for file in "${fuzzSources[@]}"; do printf '%s fuzz %s\n' "$(stat -c %s "$file")" "$file"; done
    for file in "${windowsSources[@]}"; do printf '%s windows %s\n' "$(stat -c %s "$file")" "$file"; done
  } | sort -k1,1nr | while read -r _ group file; do printf '%s\0%s\0' "$group" "$file"; done
}
started=$SECONDS
if ! TidyJobs | xargs -0 -n 2 -P 2 bash -c 'TidyOne "$1" "$2"' TidyOne; then
  status=1
fi
echo "== clang-tidy took $((SECONDS - started)) s"

echo "== cppcheck"
if ! cppcheck --enable=warning,style,performance,portability --std=c++20 --language=c++ \
    --inline-suppr --quiet --error-exitcode=1 -j 2 \
    --suppress=missingIncludeSystem --suppress=unusedFunction \
    -I . text engine codegen answers cli framework ui web/bridge tests/fuzz; then
  status=1
fi
exit $status

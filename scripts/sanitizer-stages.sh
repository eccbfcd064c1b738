#!/usr/bin/env bash
# The stages of ./test after the main build's tests, each in a build folder of its own, built
# only for the programs they run:
#   build-fuzz  clang-19, AddressSanitizer + UBSan (the fuzz build): the six fuzz targets, each
#               fuzzed for VANTREL_FUZZ_SECONDS (20) from its kept inputs; then the cockpit, link
#               and session tests (labels cockpit, ipc, cli) once more.
#   build-tsan  GCC, ThreadSanitizer: the same tests.
# Every process a test starts (vantrel-cli, vantrel-sim too) writes what a sanitizer finds into
# the stage's report folder; the stage fails when anything is there. Suppressions (third-party
# code only): tests/sanitizers/.
# Usage: scripts/sanitizer-stages.sh [fuzz] [asan] [tsan]   (all three without arguments)
set -euo pipefail
cd "$(dirname "$0")/.."
stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(fuzz asan tsan)
suppressions="$PWD/tests/sanitizers"
tests=(test_cockpit test_ipc test_cli)
labels='^(cockpit|ipc|cli)$'
# The clang sanitizers' runtimes look for llvm-symbolizer on the PATH to name functions and lines.
export PATH="/usr/lib/llvm-19/bin:$PATH"

configure() { # folder, compiler, options...
  local dir=$1 compiler=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$compiler" "$@" >/dev/null
}

build_fuzz() {
  configure build-fuzz clang++-19 -DVANTREL_FUZZ=ON -DVANTREL_TIMEOUT_SCALE=3
  cmake --build build-fuzz --target $(cd fuzz && ls ./*_fuzz.cpp | sed 's|^./||; s|\.cpp$||')
}

build_fuzz_tests() {
  configure build-fuzz clang++-19 -DVANTREL_FUZZ=ON -DVANTREL_TIMEOUT_SCALE=3
  cmake --build build-fuzz --target "${tests[@]}"
}

# GCC's ThreadSanitizer: clang's (14 and 19) fails its own check in every program that starts a
# process through Qt (QProcess), as the session tests and the command line's do.
build_tsan() {
  configure build-tsan g++ -DVANTREL_SANITIZE=thread -DVANTREL_TIMEOUT_SCALE=5
  # The build runs some of its programs (the pictures' painters).
  TSAN_OPTIONS="suppressions=$suppressions/tsan.supp" cmake --build build-tsan --target "${tests[@]}"
}

# Runs ctest in a folder with the sanitizers' reports going to a fresh folder; fails on any report.
# The report folder is absolute: ctest runs each test in a folder of its own. Address-space
# randomisation is off for the tests: with the high randomisation of newer kernels a sanitizer's
# shadow memory now and then meets a mapping, and the sanitizer re-executes the program with a
# warning of its own.
run_tests() { # folder, label pattern
  local dir=$1 pattern=$2 reports="$PWD/$1/sanitizer-reports"
  rm -rf "$reports"
  mkdir -p "$reports"
  local status=0
  ASAN_OPTIONS="log_path=$reports/asan:detect_leaks=1:abort_on_error=1:suppressions=$suppressions/asan.supp" \
  LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="log_path=$reports/ubsan:halt_on_error=1:print_stacktrace=1" \
  TSAN_OPTIONS="log_path=$reports/tsan:halt_on_error=0:second_deadlock_stack=1:suppressions=$suppressions/tsan.supp" \
  QT_QPA_PLATFORM=offscreen \
    setarch "$(uname -m)" -R ctest --test-dir "$dir" --output-on-failure -j2 -L "$pattern" || status=$?
  if compgen -G "$reports/*" >/dev/null; then
    echo "Sanitizer reports in $reports:"
    cat "$reports"/*
    status=1
  fi
  return $status
}

stage() { # name, command...
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}

for s in "${stages[@]}"; do
  case $s in
    fuzz)
      stage "fuzz build (clang-19, AddressSanitizer + UBSan)" build_fuzz
      stage "fuzz targets" run_tests build-fuzz '^fuzz$' ;;
    asan)
      stage "sanitizer build (AddressSanitizer + UBSan)" build_fuzz_tests
      stage "cockpit, link and session tests under AddressSanitizer + UBSan" run_tests build-fuzz "$labels" ;;
    tsan)
      stage "sanitizer build (ThreadSanitizer)" build_tsan
      stage "cockpit, link and session tests under ThreadSanitizer" run_tests build-tsan "$labels" ;;
    *) echo "unknown stage $s (fuzz, asan, tsan)" >&2; exit 2 ;;
  esac
done

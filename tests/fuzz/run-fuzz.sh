#!/usr/bin/env bash
# Builds the readers of received bytes natively (no Windows headers) with
# AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzes them.
#
#   tests/fuzz/run-fuzz.sh OUT_DIR [RUNS]
#
# OUT_DIR receives the program and, on a fault, the input that caused it.
# RUNS inputs (default 200000). The engine: libFuzzer when clang++ has it,
# else a deterministic random driver built with g++ (ZQ_FUZZ_ENGINE=random or
# =libfuzzer chooses). A fault leaves its input in OUT_DIR: replay it with
# OUT_DIR/readers_fuzz --replay FILE (random) or OUT_DIR/readers_fuzz FILE (libFuzzer).
set -euo pipefail

out=${1:?usage: run-fuzz.sh OUT_DIR [RUNS]}
runs=${2:-200000}
engine=${ZQ_FUZZ_ENGINE:-auto}
repo=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The text half of the class library and the readers, free of window headers.
sources=(
  classlib/CString.cpp classlib/CStringArray.cpp classlib/CStringList.cpp
  classlib/CMapStringToOb.cpp classlib/CMapStringToString.cpp classlib/CObject.cpp
  classlib/Mbcs.cpp classlib/MbcsWin.cpp
  core/CUtilsText.cpp core/IpMessage.cpp core/IpMessageParser.cpp core/TextCut.cpp core/UdpPacket.cpp
  engine/TransferFormats.cpp engine/MessageDispatcher.cpp engine/FolderStreamParser.cpp engine/SafeNames.cpp
  engine/ShareCommandProcessor.cpp engine/ShareListReply.cpp
  tests/fuzz/dispatcher_link_stubs.cpp tests/fuzz/readers_fuzz.cpp
)
flags=(-std=c++17 -O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=all -Wall -Wextra
       -finput-charset=UTF-8 -I"$repo")

cd "$repo"
if [ "$engine" = auto ]; then
  engine=random
  # clang compiles literals to UTF-8 only; the sources must not need CP936.
  if command -v clang++ >/dev/null &&
     echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
       clang++ -fsanitize=fuzzer -x c++ - -o "$out/libfuzzer-probe" 2>/dev/null &&
     ! LC_ALL=C grep -q -P '[^\x00-\x7F]' "${sources[@]}"; then
    engine=libfuzzer
  fi
fi

cd "$out"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
case "$engine" in
  random)
    echo "run-fuzz: building with g++ (random driver)"
    g++ "${flags[@]}" -fexec-charset=CP936 -fsanitize=address,undefined \
        "${sources[@]/#/$repo/}" -o readers_fuzz
    ./readers_fuzz "$runs"
    ;;
  libfuzzer)
    echo "run-fuzz: building with clang++ (libFuzzer)"
    # Coverage is the readers': the driver's own checks are left out of it.
    echo "src:$repo/tests/fuzz/*" > coverage-ignore.txt
    clang++ "${flags[@]}" -DZQ_LIBFUZZER -fsanitize=fuzzer,address,undefined \
        -fsanitize-coverage-ignorelist=coverage-ignore.txt -fno-sanitize-coverage=trace-cmp "${sources[@]/#/$repo/}" -o readers_fuzz
    rm -rf corpus && mkdir corpus
    ./readers_fuzz -runs="$runs" -max_len=4096 -len_control=0 -seed=1 \
        -artifact_prefix="$out/" -print_final_stats=1 corpus 2>libfuzzer.log ||
      { tail -n 60 libfuzzer.log; exit 1; }
    grep -E '^(Done|stat::number_of_executed_units)' libfuzzer.log
    ;;
  *)
    echo "run-fuzz: unknown ZQ_FUZZ_ENGINE '$engine' (random or libfuzzer)" >&2
    exit 2
    ;;
esac

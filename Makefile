# make run   builds KORVAL.EXE and starts it under Wine from the CD-ROM drive E:
#            holding the demo medium (CATALOGUE=DIR for another medium folder,
#            DPI=144 for a high-DPI display)
# make test  builds natively and for Windows and runs every test
# make dist, make medium [CATALOGUE=DIR]: the release archive, a medium image
# make bench, make fuzz: measurements (see README)

BUILD      ?= build
JOBS       ?= $(shell nproc)
NATIVE_DIR := $(BUILD)/native
WIN_DIR    := $(BUILD)/win
FUZZ_DIR   := $(BUILD)/fuzz
BENCH_DIR  := $(BUILD)/bench
RELEASE_DIR := $(BUILD)/release
CLANG_DIR  := $(BUILD)/clang
DIST_DIR   := $(BUILD)/dist
MEDIUM_IMAGE ?= $(DIST_DIR)/korval-medium.iso
CATALOGUE  ?=
DPI        ?= 96
FUZZ_SECONDS ?= 60
BENCH_RUNS ?= 21

.PHONY: all deps native win fuzzers checker test run dist medium fuzz bench clean

all: native win

deps:
	@scripts/deps.sh

$(NATIVE_DIR)/Makefile: | deps
	cmake -S . -B $(NATIVE_DIR) -DCMAKE_BUILD_TYPE=Debug

$(WIN_DIR)/Makefile: | deps
	cmake -S . -B $(WIN_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake

native: deps $(NATIVE_DIR)/Makefile
	cmake --build $(NATIVE_DIR) -j $(JOBS)

win: deps $(WIN_DIR)/Makefile
	cmake --build $(WIN_DIR) -j $(JOBS)

# The fuzzers: clang with libFuzzer, a project of its own (tests/fuzz).
$(FUZZ_DIR)/Makefile: | deps
	cmake -S tests/fuzz -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++

fuzzers: deps $(FUZZ_DIR)/Makefile
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# One CTest run over all builds, so the summary at the end covers everything;
# the fuzzers run a few seconds each. The release checks (tests/release) look
# at the native and the Windows build together and make the clang build.
test: native win fuzzers
	cmake -S tests/release -B $(RELEASE_DIR) -DKORVAL_WIN_BUILD=$(abspath $(WIN_DIR)) \
	      -DKORVAL_NATIVE_BUILD=$(abspath $(NATIVE_DIR)) -DKORVAL_CLANG_BUILD=$(abspath $(CLANG_DIR)) >/dev/null
	@printf 'subdirs("native")\nsubdirs("win")\nsubdirs("fuzz")\nsubdirs("release")\n' > $(BUILD)/CTestTestfile.cmake
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: win
	KORVAL_DPI=$(DPI) scripts/run.sh $(WIN_DIR) "$(CATALOGUE)"

# build/dist/korval-VERSION-win64.zip: KORVAL.EXE, korval-check.exe, the guide
# for users and the catalogue format.
dist: win
	scripts/dist.sh $(WIN_DIR) $(DIST_DIR)

# An ISO 9660 image with Joliet names of the demo medium or of CATALOGUE,
# after korval-check's findings; none when the catalogue cannot be read.
checker: deps $(NATIVE_DIR)/Makefile
	cmake --build $(NATIVE_DIR) -j $(JOBS) --target korval_check

medium: win checker
	scripts/medium.sh $(WIN_DIR) $(NATIVE_DIR)/tools/korval_check/korval-check $(MEDIUM_IMAGE) "$(CATALOGUE)"

# Every fuzzer for FUZZ_SECONDS, one after the other: executions and findings.
fuzz: fuzzers
	tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The benchmarks as one table: natively a Release build without the
# sanitizers, under Wine the Windows build; BENCH_RUNS pairs of starts (and
# runs per measure), at least 15 for quartiles worth the name.
$(BENCH_DIR)/Makefile: | deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DKORVAL_SANITIZE=OFF -DKORVAL_TESTS=OFF

bench: deps $(BENCH_DIR)/Makefile $(WIN_DIR)/Makefile
	cmake --build $(BENCH_DIR) -j $(JOBS) --target korval_bench korval_decode_compare korval_convert korval_bench_medium
	cmake --build $(WIN_DIR) -j $(JOBS) --target korval_bench_wine
	tools/bench/run.sh $(BENCH_DIR) $(WIN_DIR) $(BENCH_RUNS)

clean:
	rm -rf $(BUILD)

# make run   builds KORVAL.EXE and starts it under Wine on the demo medium
#            (CATALOGUE=DIR for another catalogue folder)
# make test  builds natively and for Windows and runs every test
# make bench, make fuzz: measurements (see README)

BUILD      ?= build
JOBS       ?= $(shell nproc)
NATIVE_DIR := $(BUILD)/native
WIN_DIR    := $(BUILD)/win
CATALOGUE  ?=

.PHONY: all deps native win test run clean

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

# One CTest run over both builds, so the summary at the end covers everything.
test: native win
	@printf 'subdirs("native")\nsubdirs("win")\n' > $(BUILD)/CTestTestfile.cmake
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: win
	scripts/run.sh $(WIN_DIR) "$(CATALOGUE)"

clean:
	rm -rf $(BUILD)

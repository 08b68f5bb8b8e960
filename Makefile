# Sorvanil.exe, cross-built for 32-bit Windows and tested under Wine.
#   make demo    the program's whole job with the stand-in Install Aide
#   make test    every test (unit, stand-in, end to end under Wine and Xvfb, static checks)
#   make bench   start-up, size and scale measurements, into docs/benchmarks.md
#   make dist    what a software maker ships, into dist/

BUILD ?= build
XVFB  := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all setup build demo test bench dist clean

all: build

setup:
	@bash tools/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

build: setup $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j2

demo: build
	bash tools/demo.sh $(BUILD)

test: build
	$(XVFB) bash tools/run-tests.sh $(BUILD)

bench: build
	$(XVFB) bash tools/bench.sh $(BUILD)

# make dist PRC=folder-of-prc-files; signs when SIGN_PFX and SIGN_PASSWORD are set.
dist: build
	PRC="$(PRC)" bash tools/dist.sh $(BUILD)

clean:
	rm -rf $(BUILD) dist

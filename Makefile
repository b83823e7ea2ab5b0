# The two set-up commands: `make demo` and `make test`. Everything else is a step of them.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure
# The Wine tier drives real windows on a virtual display, where Wine's and the X server's timing
# now and then costs a scenario a step: a failed test there runs once more, and its first
# failure stays in the output. WINE_RETRY= turns that off.
WINE_RETRY ?= --repeat until-pass:2

.PHONY: all deps native native-configure tarnpack-native native32 win32 win64 wine-build builds \
  test test-native test-native32 test-wine demo clean format fuzz

all: native win32

# Sub-makes started by a recipe below get TARN_DEPS_DONE=1: the check ran once already.
deps:
	@[ -n "$(TARN_DEPS_DONE)" ] || bash scripts/install-deps.sh

native-configure: deps
	@cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON --no-warn-unused-cli >/dev/null

# The Wine scenarios pack their packages with the native tarnpack; one make target per build
# tree, so that no two builds of build/native ever run at once.
tarnpack-native: native-configure
	@cmake --build build/native -j$(JOBS) --target tarnpack

native: tarnpack-native
	@cmake --build build/native -j$(JOBS)

# The portable core, tarnpack and the unit tests as 32-bit x86 Linux programs (size_t and the
# address space of the i686 product), run directly or under qemu-i386.
native32: deps
	@cmake -S . -B build/native32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux-gnu.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo --no-warn-unused-cli >/dev/null
	@cmake --build build/native32 -j$(JOBS)

# The product: 32-bit Windows programs.
win32: deps
	@cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo --no-warn-unused-cli >/dev/null
	@cmake --build build/win32 -j$(JOBS)

# The same sources for x86_64, for Wine on machines that cannot run 32-bit code.
win64: deps
	@cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo --no-warn-unused-cli >/dev/null
	@cmake --build build/win64 -j$(JOBS)

# Builds whichever Windows tree Wine can run here.
wine-build: win32
	@arch=$$(bash scripts/wine-arch.sh); \
	if [ "$$arch" = win64 ]; then $(MAKE) win64 TARN_DEPS_DONE=1; fi

test-native: native
	cd build/native && ctest $(CTEST_FLAGS) -j$(JOBS)

test-native32: native32
	cd build/native32 && ctest $(CTEST_FLAGS) -j$(JOBS)

test-wine: wine-build tarnpack-native
	@tree=build/$$(bash scripts/wine-arch.sh); \
	if [ "$$tree" != build/win32 ]; then \
	  echo "Checking the product in build/win32 ($$(bash scripts/wine-arch.sh --why | tail -n 1):" \
	    "Wine runs the x86_64 build)"; \
	  (cd build/win32 && ctest $(CTEST_FLAGS) -L product) || exit 1; \
	fi; \
	echo "Running the Windows tests of $$tree under Wine"; \
	$$tree/wine-run --prepare; \
	(cd $$tree && ctest $(CTEST_FLAGS) $(WINE_RETRY)); status=$$?; \
	$$tree/wine-run --stop; exit $$status

builds: native native32 wine-build

# Everything is built first (in parallel under -j); the three tiers then run one after another,
# so that their tests never compete: native, 32-bit, Wine.
test: builds
	@$(MAKE) test-native TARN_DEPS_DONE=1
	@$(MAKE) test-native32 TARN_DEPS_DONE=1
	@$(MAKE) test-wine TARN_DEPS_DONE=1

# libFuzzer targets of every reader of untrusted input, in a clang tree of their own, each run
# for FUZZ_SECONDS; crashes are kept under build/fuzz/findings/. Not part of `make test`, which
# replays the seeds and kept crash cases natively (the fuzz_regressions test).
FUZZ_SECONDS ?= 60
fuzz: deps
	@cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTARN_FUZZ=ON \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo --no-warn-unused-cli >/dev/null
	@cmake --build build/fuzz -j$(JOBS)
	@bash fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

demo: native wine-build
	@bash scripts/demo.sh build/$$(bash scripts/wine-arch.sh)

format:
	find src tools tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf build

# The two set-up commands: `make demo` and `make test`. Everything else is a step of them.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps native win32 win64 wine-build test test-native test-wine demo clean format

all: native win32

deps:
	@bash scripts/install-deps.sh

native: deps
	@cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON --no-warn-unused-cli >/dev/null
	@cmake --build build/native -j$(JOBS)

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
	if [ "$$arch" = win64 ]; then $(MAKE) win64; fi

test-native: native
	cd build/native && ctest $(CTEST_FLAGS) -j$(JOBS)

test-wine: wine-build
	@tree=build/$$(bash scripts/wine-arch.sh); \
	if [ "$$tree" != build/win32 ]; then \
	  echo "Checking the product in build/win32 (this machine cannot run it under Wine)"; \
	  (cd build/win32 && ctest $(CTEST_FLAGS) -L product) || exit 1; \
	fi; \
	echo "Running the Windows tests of $$tree under Wine"; \
	$$tree/wine-run --prepare; \
	(cd $$tree && ctest $(CTEST_FLAGS)); status=$$?; \
	$$tree/wine-run --stop; exit $$status

test: test-native test-wine

demo: native wine-build
	@bash scripts/demo.sh build/$$(bash scripts/wine-arch.sh)

format:
	find src tools tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf build

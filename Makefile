# The commands people use; CMake does the building in build/native and the Windows trees.
SHELL := /bin/bash
JOBS ?= 2
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64

.PHONY: all deps native win32 win64 test test-native test-windows test-i386 run bench fuzz clean

all: deps native win32

deps:
	@scripts/deps

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win32: deps
	@cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

win64: deps
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

# The Windows tests run in the 32-bit tree where this machine can run 32-bit code, otherwise in
# the 64-bit build of the same sources (scripts/windows-tree says which).
test: all
	@scripts/check-layers
	@dist/check-size $(WIN32)/Sorvane.exe
	@$(MAKE) --no-print-directory test-native
	@$(MAKE) --no-print-directory test-fuzz
	@$(MAKE) --no-print-directory test-windows
	@$(MAKE) --no-print-directory test-i386

test-native: native
	@cd $(NATIVE) && ctest --output-on-failure -V

test-windows:
	@tree=$$(scripts/windows-tree); \
	 if [ "$$tree" = win64 ]; then $(MAKE) --no-print-directory win64; fi; \
	 scripts/with-xvfb bash -c "cd build/$$tree && ctest --output-on-failure -V"

# The shipped 32-bit Sorvane.exe under 32-bit Wine, emulated where 32-bit code cannot run here
# (scripts/with-i386), after the other Windows tests so that no emulator is registered while they
# run. Emulated, the 64-bit tree's driver drives the 32-bit program (SORVANE_I386: with-i386).
test-i386: native win32
	@if [ "$$(scripts/windows-tree)" = win64 ] || [ "$${SORVANE_I386:-}" = emulate ]; then \
	   $(MAKE) --no-print-directory win64; fi
	@scripts/test-i386

# Starts Sorvane under Wine on the user's display; with none, on a virtual one for a screenshot.
run: deps
	@scripts/run

# Whole-process timing against fmt on a generated corpus, then the pathological inputs; then
# Auto Clean's copy-to-paste round trip under Wine.
bench: native
	@mkdir -p build/bench
	@$(NATIVE)/bench/sorvane-bench $(NATIVE)/sorvane-clean build/bench
	@tree=$$(scripts/windows-tree); $(MAKE) --no-print-directory $$tree >/dev/null; \
	 scripts/with-xvfb python3 bench/autoclean_roundtrip.py build/$$tree
	@tree=$$(scripts/windows-tree); \
	 scripts/wine-run build/$$tree/tests/win32/clean_timing.exe "Z:$(CURDIR)/build/$$tree"

# The engine under libFuzzer with ASan and UBSan, built with clang in a tree of its own.
# The release: the 32-bit program stripped, with abbr.dat, the read-me and the licence, in
# build/dist as Sorvane-<version>.zip (portable use) and Sorvane-<version>-setup.exe (the
# installer), with their SHA256SUMS; dist/release checks what it made.
.PHONY: dist
dist: win32
	@dist/release $(WIN32) build/dist

# Starts the program 100 times and counts the starts that end by themselves before start-up is
# over, keeping the log and Wine's messages of each (build/bench/startup-loop).
# Start-up loops: 100 starts in one prefix; with fresh, 100 first starts each in a fresh prefix
# on a display of its own, as the end-to-end tests start the program (about 15 minutes).
.PHONY: stress stress-fresh
stress:
	@tree=$$(scripts/windows-tree); $(MAKE) --no-print-directory $$tree && \
	 scripts/with-xvfb python3 bench/startup_loop.py 100
stress-fresh:
	@tree=$$(scripts/windows-tree); $(MAKE) --no-print-directory $$tree && \
	 python3 bench/startup_loop.py --fresh 100

.PHONY: test-fuzz
FUZZ := build/fuzz
FUZZ_SECONDS ?= 300
FUZZ_SOURCES := fuzz/fuzz_clean.cpp fuzz/fuzz_input.cpp base/diagnostics.cpp base/diagnostics_native.cpp \
  settings/catalogue.cpp $(filter-out engine/%_avx2.cpp,$(wildcard engine/*.cpp))
FUZZ_AVX2 := $(patsubst engine/%.cpp,$(FUZZ)/%.o,$(wildcard engine/*_avx2.cpp))
FUZZ_HEADERS := $(wildcard fuzz/*.h engine/*.h) base/diagnostics.h settings/catalogue.h
FUZZ_FLAGS := -std=c++17 -g -O1 -fno-sanitize-recover=all -I. -DSORVANE_AVX2

# The AVX2 walks compiled for AVX2 on their own, as the native build does; the rest without.
$(FUZZ)/%_avx2.o: engine/%_avx2.cpp $(FUZZ_HEADERS)
	@mkdir -p $(FUZZ)
	@clang++ $(FUZZ_FLAGS) -fsanitize=fuzzer-no-link,address,undefined -mavx2 -mpopcnt -c $< -o $@

$(FUZZ)/fuzz_clean: $(FUZZ_SOURCES) $(FUZZ_HEADERS) $(FUZZ_AVX2)
	@mkdir -p $(FUZZ)
	@clang++ $(FUZZ_FLAGS) -fsanitize=fuzzer,address,undefined $(FUZZ_SOURCES) $(FUZZ_AVX2) -o $@

fuzz: deps $(FUZZ)/fuzz_clean
	@fuzz/run $(FUZZ)/fuzz_clean $(FUZZ_SECONDS)

test-fuzz: deps $(FUZZ)/fuzz_clean
	@fuzz/run $(FUZZ)/fuzz_clean 30

clean:
	rm -rf build

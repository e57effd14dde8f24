# The set-up commands: `make run`, `make test` and `make ci`. Each installs what is missing first.
#   make test   the default build and every test, warnings as errors (the newcomer's command)
#   make ci     what CI runs on top of `make test`: the steps listed in CI_STEPS, in order
#
# In CI (CI=true) `make test` is the sanitizer build: the whole project (window, libraries,
# command line, tests, tools, benchmarks) with GCC, warnings as errors, and every test under
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer. So one GCC build serves both
# the warnings and the sanitizers. `make test SANITIZERS=ON` does the same anywhere.
SANITIZERS ?= $(if $(filter true,$(CI)),ON,OFF)
ifeq ($(SANITIZERS),ON)
BUILD ?= build-asan
else
BUILD ?= build
endif
CMAKE_FLAGS ?=
# Warnings are errors in every build made through this file; a bare `cmake` leaves them warnings.
WERROR ?= ON

FUZZ_SECONDS ?= 60
FUZZERS = fuzz_pattern_reader fuzz_library fuzz_number fuzz_geometry fuzz_jpeg fuzz_cp1252 fuzz_figure_list \
  fuzz_conversion fuzz_clip fuzz_interaction fuzz_picture fuzz_dxf_import


deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DMURVEX_WERROR=$(WERROR) -DMURVEX_SANITIZERS=$(SANITIZERS) \
		$(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@bash scripts/run $(BUILD)

# Every report of a sanitizer ends the test that made it, with a stack trace; the command line
# the tests start inherits the same settings. Leaks are reported for our code always;
# scripts/lsan.supp silences only named third-party libraries.
SAN_ENV = ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0
test: build
	@cd $(BUILD) && $(SAN_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j2

# The Debian package build-deb/murvex_<version>_<arch>.deb (Release, without tests and benchmarks,
# with Debian's hardening flags from dpkg-buildflags).
DEB_BUILD ?= build-deb
deb: deps
	@cmake -S . -B $(DEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DMURVEX_BUILD_TESTS=OFF \
		-DMURVEX_BUILD_BENCH=OFF -DMURVEX_WERROR=OFF \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(DEB_BUILD) --target murvex murvex-cli
	@rm -f $(DEB_BUILD)/murvex_*.deb
	@cd $(DEB_BUILD) && cpack -G DEB
	@ls $(DEB_BUILD)/murvex_*.deb

# The package, the desktop entry and the AppStream metadata through Debian's validators.
package-check: deb
	@bash scripts/install-deps desktop-file-utils appstream lintian
	@bash scripts/package-check $(DEB_BUILD)

# ---- make ci ----------------------------------------------------------------------------------
# Each step is a target of its own, runnable alone (`make ci-clang`); steps run in the order
# listed, the quick format check first. Every build is made once and serves every check it can:
#   make test (CI)  GCC, sanitizers, warnings as errors, everything; the whole suite   (see below)
#   ci-clang        clang 14 with the fuzzers' instrumentation: libraries, command line and their
#                   tests (under ASan and UBSan), and the fuzz targets
#   fuzz-short      each fuzz target of that build for 15 s, two at a time
#   ci-windows      the mingw-w64 cross build, its tests under wine, the byte comparison with the
#                   Linux murvex-cli of $(BUILD), the window's Windows compile check
# Cost on a fresh clone without a compiler cache, this 2-core machine, one whole run (minutes,
# 2026-12-08; weigh the next step against them): packages on a clean machine 0.7, make test (CI)
# 10.8 (tests 0.9), ci-format 0.1, ci-clang 4.1 (tests 0.7), fuzz-short 1.4, ci-windows 2.8;
# 19.1 in all (CI's own clean run of the landing before: 25).
# Given up: the GCC -O3 build of Linux-only code (its warnings); -O3 is kept by the Windows cross
# build, which compiles every portable file with GCC 12 at -O3, warnings as errors.
CI_STEPS = ci-format ci-clang fuzz-short ci-windows

ci: $(CI_STEPS)

.PHONY: run test build deps configure clean ci deb package-check fuzz fuzz-short fuzz-build \
	clang-configure ci-sanitizers windows-cli windows-sources $(CI_STEPS)

# Every tracked C++ source as .clang-format wants it; lists the files that differ.
ci-format:
	@echo "ci: clang-format"
	@git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

# The sanitizer build of `make test` on its own, for a developer's machine.
ci-sanitizers:
	@$(MAKE) --no-print-directory test SANITIZERS=ON BUILD=build-asan

# clang 14 over the libraries, the command line and their tests, built with the fuzzers'
# instrumentation (ASan, UBSan, coverage) so that the same build holds the fuzz targets.
CLANG_BUILD ?= build-clang
clang-configure: deps
	@CXX=clang++-14 CC=clang-14 cmake -S . -B $(CLANG_BUILD) -G Ninja -DMURVEX_FUZZ=ON \
		-DMURVEX_WERROR=ON -DMURVEX_BUILD_APP=OFF -DMURVEX_BUILD_BENCH=OFF >/dev/null

ci-clang: clang-configure
	@echo "ci: $(CLANG_BUILD)"
	@cmake --build $(CLANG_BUILD)
	@cd $(CLANG_BUILD) && $(SAN_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j2

# ---- Windows ------------------------------------------------------------------------------------
# The libraries, murvex-cli and their tests cross-built with mingw-w64 (cmake/mingw-w64-x86_64.cmake,
# no Qt), every test executable run whole under wine64 through scripts/wine-run (no wine messages,
# a wine prefix inside the build folder, one repeat only for wine's own exit-time assertion), and
# murvex-cli.exe compared byte for byte with the Linux murvex-cli of $(BUILD) (which loads no
# Qt; the comparison runs a copy of it alone, without the picture program) on
# tests/cli/SameBytes.commands, and the window's sources compiled (not linked) for Windows against
# Debian's Qt headers (scripts/windows-app-check).
WIN_BUILD ?= build-windows
# Release without debug information, through ccache where there is one: the build is most of the
# step's time.
WIN_FLAGS = -DMURVEX_WERROR=ON -DCMAKE_BUILD_TYPE=Release \
	$(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
WIN_ENV = MURVEX_WINEPREFIX=$(CURDIR)/$(WIN_BUILD)/wineprefix
# Libraries Debian ships only for the host, compiled from Debian's source packages.
WIN_SOURCES ?= build-windows-sources
WIN_DXFLIB = $(CURDIR)/$(WIN_SOURCES)/dxflib
windows-sources: deps
	@bash scripts/debian-source dxflib $(WIN_SOURCES) >/dev/null

ci-windows: windows-sources configure
	@echo "ci: $(WIN_BUILD)"
	@cmake --build $(BUILD) --target murvex-cli
	@cmake -S . -B $(WIN_BUILD) -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake $(WIN_FLAGS) \
		-DMURVEX_DXFLIB_SOURCE=$(WIN_DXFLIB) -DMURVEX_WITH_DXF=ON >/dev/null
	@cmake --build $(WIN_BUILD)
	@$(WIN_ENV) bash scripts/wine-run --init
	@cd $(WIN_BUILD) && $(WIN_ENV) ctest --output-on-failure --no-tests=error -j2
	@$(WIN_ENV) bash scripts/windows-cli-compare $(BUILD)/cli/murvex-cli $(WIN_BUILD)/cli/murvex-cli.exe
	@bash scripts/windows-app-check

# A static murvex-cli.exe for 64-bit Windows: build-windows/cli/murvex-cli.exe.
windows-cli: windows-sources
	@cmake -S . -B $(WIN_BUILD) -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake $(WIN_FLAGS) \
		-DMURVEX_DXFLIB_SOURCE=$(WIN_DXFLIB) -DMURVEX_WITH_DXF=ON >/dev/null
	@cmake --build $(WIN_BUILD) --target murvex-cli
	@ls -l $(WIN_BUILD)/cli/murvex-cli.exe

clean:
	rm -rf $(BUILD) build-asan $(DEB_BUILD) $(CLANG_BUILD) $(WIN_BUILD) $(WIN_SOURCES)

# The fuzz targets (clang, ASan, UBSan) in the clang build; `make fuzz` runs each for
# FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600), two at a time, and stops at the first finding,
# whose input is kept in $(CLANG_BUILD)/findings/.
fuzz-build: clang-configure
	@cmake --build $(CLANG_BUILD) --target $(FUZZERS)

fuzz: fuzz-build
	@bash scripts/run-fuzzers $(CLANG_BUILD) $(FUZZ_SECONDS) $(FUZZERS)

# The short run for continuous integration: 15 seconds each.
fuzz-short:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=15

# The set-up commands: `make run`, `make test` and `make ci`. Each installs what is missing first.
#   make test   the default build and every test, warnings as errors (the newcomer's command)
#   make ci     what CI runs on top of `make test`: the steps listed in CI_STEPS, in order
BUILD ?= build
CMAKE_FLAGS ?=
# Warnings are errors in every build made through this file; a bare `cmake` leaves them warnings.
WERROR ?= ON

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS = fuzz_pattern_reader fuzz_library fuzz_number fuzz_geometry fuzz_jpeg fuzz_cp1252 fuzz_figure_list \
  fuzz_conversion fuzz_clip fuzz_interaction fuzz_picture fuzz_dxf_import


deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DMURVEX_WERROR=$(WERROR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@bash scripts/run $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j2

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
	@bash scripts/package-check $(DEB_BUILD)

# ---- make ci ----------------------------------------------------------------------------------
# Each step is a target of its own, runnable alone (`make ci-clang`). A later step (sanitizers,
# fuzz runs) gets a target below and its name in CI_STEPS; steps run in the order listed, the
# quick format check first. The extra builds use folders of their own next to $(BUILD).
CI_STEPS = ci-format ci-release ci-clang ci-sanitizers fuzz-short ci-windows

ci: $(CI_STEPS)

.PHONY: run test build deps configure clean ci deb package-check fuzz fuzz-short fuzz-build windows-cli windows-sources $(CI_STEPS)

# Every tracked C++ source as .clang-format wants it; lists the files that differ.
ci-format:
	@echo "ci: clang-format"
	@git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

# The compiler builds compile the libraries, the command line and their tests, not the window:
# the window's code and tests are covered by `make test` and ci-sanitizers, and leaving them out
# keeps CI short.
# ci_build(folder, extra cmake flags): configure, build and run that build's tests.
CI_LIB_FLAGS = -DMURVEX_WERROR=ON -DMURVEX_BUILD_APP=OFF
define ci_build
	@echo "ci: $(1)"
	@cmake -S . -B $(1) -G Ninja $(CI_LIB_FLAGS) $(2) >/dev/null
	@cmake --build $(1)
	@cd $(1) && ctest --output-on-failure --no-tests=error -j2
endef

# GCC at -O3, where its optimiser warns about more than at the default level.
ci-release: deps
	$(call ci_build,build-release,-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++)

ci-clang: deps
	$(call ci_build,build-clang,-DCMAKE_CXX_COMPILER=clang++)

# The whole suite (libraries, command line, window and install tests) under AddressSanitizer with
# LeakSanitizer and UndefinedBehaviorSanitizer (GCC). Every report ends the test that made it, with
# a stack trace; the command line the tests start inherits the same settings. Leaks are reported
# for our code always; scripts/lsan.supp silences only named third-party libraries.
# The benchmarks are left out: they test nothing and a sanitized timing means nothing.
SAN_BUILD ?= build-asan
SAN_ENV = ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	QT_QPA_PLATFORM=offscreen
ci-sanitizers: deps
	@echo "ci: $(SAN_BUILD)"
	@cmake -S . -B $(SAN_BUILD) -G Ninja -DMURVEX_SANITIZERS=ON -DMURVEX_WERROR=ON \
		-DMURVEX_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(SAN_BUILD)
	@cd $(SAN_BUILD) && $(SAN_ENV) ctest --output-on-failure --no-tests=error -j2

# ---- Windows ------------------------------------------------------------------------------------
# The libraries, murvex-cli and their tests cross-built with mingw-w64 (cmake/mingw-w64-x86_64.cmake,
# no Qt), every test executable run whole under wine64 through scripts/wine-run (no wine messages,
# a wine prefix inside the build folder, one repeat only for wine's own exit-time assertion), and
# murvex-cli.exe compared byte for byte with a Linux murvex-cli without Qt on
# tests/cli/SameBytes.commands, and the window's sources compiled (not linked) for Windows against
# Debian's Qt headers (scripts/windows-app-check).
WIN_BUILD ?= build-windows
WIN_HOST_BUILD ?= build-windows-host
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

ci-windows: windows-sources
	@echo "ci: $(WIN_BUILD)"
	@cmake -S . -B $(WIN_BUILD) -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake $(WIN_FLAGS) \
		-DMURVEX_DXFLIB_SOURCE=$(WIN_DXFLIB) -DMURVEX_WITH_DXF=ON >/dev/null
	@cmake --build $(WIN_BUILD)
	@cmake -S . -B $(WIN_HOST_BUILD) -G Ninja -DMURVEX_BUILD_APP=OFF -DMURVEX_WITH_QT=OFF \
		-DMURVEX_BUILD_TESTS=OFF -DMURVEX_BUILD_BENCH=OFF $(WIN_FLAGS) >/dev/null
	@cmake --build $(WIN_HOST_BUILD) --target murvex-cli
	@$(WIN_ENV) bash scripts/wine-run --init
	@cd $(WIN_BUILD) && $(WIN_ENV) ctest --output-on-failure --no-tests=error -j2
	@$(WIN_ENV) bash scripts/windows-cli-compare $(WIN_HOST_BUILD)/cli/murvex-cli $(WIN_BUILD)/cli/murvex-cli.exe
	@bash scripts/windows-app-check

# A static murvex-cli.exe for 64-bit Windows: build-windows/cli/murvex-cli.exe.
windows-cli: windows-sources
	@cmake -S . -B $(WIN_BUILD) -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake $(WIN_FLAGS) \
		-DMURVEX_DXFLIB_SOURCE=$(WIN_DXFLIB) -DMURVEX_WITH_DXF=ON >/dev/null
	@cmake --build $(WIN_BUILD) --target murvex-cli
	@ls -l $(WIN_BUILD)/cli/murvex-cli.exe

clean:
	rm -rf $(BUILD) $(DEB_BUILD) $(FUZZ_BUILD) $(SAN_BUILD) build-release build-clang \
		$(WIN_BUILD) $(WIN_HOST_BUILD) $(WIN_SOURCES)

# The fuzz targets, with ASan and UBSan, in a build folder of their own.
fuzz-build: deps
	@CXX=clang++-14 CC=clang-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DMURVEX_FUZZ=ON \
	  -DMURVEX_BUILD_APP=OFF -DMURVEX_BUILD_TESTS=OFF -DMURVEX_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j2 --target $(FUZZERS)

# Runs each fuzz target for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600); stops at the first finding.
fuzz: fuzz-build
	@bash scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZERS)

# The short run for continuous integration: 15 seconds each.
fuzz-short:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=15

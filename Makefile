# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?=

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS = fuzz_pattern_reader fuzz_number fuzz_geometry fuzz_jpeg fuzz_cp1252

.PHONY: run test build deps configure clean fuzz fuzz-short fuzz-build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

run: build
	@bash scripts/run $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j2

clean:
	rm -rf $(BUILD)

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

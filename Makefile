# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: run test build deps configure clean deb package-check

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DMURVEX_WERROR=ON $(CMAKE_FLAGS) >/dev/null

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

clean:
	rm -rf $(BUILD) $(DEB_BUILD)

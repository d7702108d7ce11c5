# The two commands a newcomer needs: `make demo` and `make test`; `make package` makes what pilots download.
.PHONY: deps deps-windows demo test build dev asan release windows package format bench clean

# Build folders of the release and windows presets (override to package from other builds).
RELEASE_DIR ?= build/release
WINDOWS_DIR ?= build/windows

deps:
	@scripts/install-deps.sh

deps-windows:
	@scripts/install-deps.sh --windows

build dev: deps
	cmake --preset dev
	cmake --build --preset dev

asan: deps
	cmake --preset asan
	cmake --build --preset asan

release: deps
	cmake --preset release -B $(RELEASE_DIR)
	cmake --build $(RELEASE_DIR)

# The MinGW-w64 cross build: win_x64/Talvenor.xpl, and the simulated host and tests that run under Wine.
windows: deps-windows
	cmake --preset windows -B $(WINDOWS_DIR)
	cmake --build $(WINDOWS_DIR)

demo: dev
	build/dev/sim/talvenor-sim --plot build/dev/demo-head.svg examples/demo.scn

# Every test: the plain and sanitized Linux builds, and the Windows build with its tests under Wine. (The
# presets' own folders; RELEASE_DIR and WINDOWS_DIR apply to release, windows, package and bench.)
test: dev asan deps-windows
	cmake --preset windows
	cmake --build --preset windows
	ctest --preset dev
	ctest --preset asan
	ctest --preset windows

# dist/Talvenor/ and dist/Talvenor-<version>.zip: the plugin of the release and windows presets (only the
# plugin is built here; `make test` builds and runs the rest), Talvenor.ini and the install text.
package: deps-windows
	cmake --preset release -B $(RELEASE_DIR)
	cmake --build $(RELEASE_DIR) --target Talvenor
	cmake --preset windows -B $(WINDOWS_DIR)
	cmake --build $(WINDOWS_DIR) --target Talvenor
	scripts/package.sh $(RELEASE_DIR) $(WINDOWS_DIR) dist

bench: release
	$(RELEASE_DIR)/bench/talvenor_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist

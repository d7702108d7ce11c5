# The two commands a newcomer needs: `make demo` and `make test`; `make package` makes what pilots download.
.PHONY: deps deps-windows deps-fuzz demo pictures test build dev asan release windows package format bench bench-count coverage fuzz soak clean

# Build folders of the release and windows presets (override to package from other builds).
RELEASE_DIR ?= build/release
WINDOWS_DIR ?= build/windows

deps:
	@scripts/install-deps.sh

deps-windows:
	@scripts/install-deps.sh --windows

deps-fuzz:
	@scripts/install-deps.sh --fuzz

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

# The demo builds only what it runs: the plugin, the simulated host and talvenor-sim.
DEMO_DIR ?= build/demo
demo: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev --target talvenor-sim
	@rm -rf $(DEMO_DIR) && mkdir -p $(DEMO_DIR)
	@build/dev/sim/talvenor-sim --quiet --root $(DEMO_DIR)/X-Plane --out $(DEMO_DIR) \
		--plot $(DEMO_DIR)/head-path.svg examples/demo.scn
	@cp $(DEMO_DIR)/X-Plane/Resources/plugins/Talvenor/TalvenorLog.txt $(DEMO_DIR)/
	@echo
	@echo "Pictures of the three windows and of the head's path, and the plugin's log, in $(DEMO_DIR)/:"
	@cd $(DEMO_DIR) && ls -1 *.svg *.txt | sed 's/^/  /'
	@echo "The simulated X-Plane folder, with the aircraft's saved presets: $(DEMO_DIR)/X-Plane/"

# The README's pictures are the demo's: after a change to a window or to the demo, `make pictures` takes
# the new ones (the tests pictures/*.svg compare them with the demo's).
pictures: demo
	cp $(DEMO_DIR)/control-panel.svg $(DEMO_DIR)/effects-panel.svg $(DEMO_DIR)/data-display.svg \
		$(DEMO_DIR)/head-path.svg docs/pictures/

# Every test: the plain and sanitized Linux builds, the Windows build with its tests under Wine, and the
# per-frame instruction budget, which holds the Release build's counts. (The presets' own folders;
# RELEASE_DIR and WINDOWS_DIR apply to release, windows, package and bench.)
test: dev asan deps-windows
	cmake --preset windows
	cmake --build --preset windows
	ctest --preset dev
	ctest --preset asan
	ctest --preset windows
	cmake --preset release
	cmake --build --preset release --target talvenor_frame_count talvenor_udp_flood_count
	ctest --preset release -R '^budget/'

# dist/Talvenor/, dist/TalvenorUDP/ and dist/Talvenor-<version>.zip: the two plugins of the release and windows
# presets (only they are built here; `make test` builds and runs the rest), their settings and the install text.
package: deps-windows
	cmake --preset release -B $(RELEASE_DIR)
	cmake --build $(RELEASE_DIR) --target Talvenor TalvenorUDP
	cmake --preset windows -B $(WINDOWS_DIR)
	cmake --build $(WINDOWS_DIR) --target Talvenor TalvenorUDP
	scripts/package.sh $(RELEASE_DIR) $(WINDOWS_DIR) dist

# Line and branch coverage of src/ by every test of the coverage preset (gcc --coverage): the summary and the
# lines of each file here, the annotated sources in build/coverage/coverage.html. It fails when a test fails
# or fewer than 95% of the lines of src/ ran.
coverage:
	@scripts/install-deps.sh --coverage
	cmake --preset coverage
	cmake --build --preset coverage
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage; status=$$?; \
	gcovr --root . --filter 'src/' --object-directory build/coverage --exclude-directories build/coverage/CMakeFiles \
	  --exclude-unreachable-branches --exclude-throw-branches --html-details build/coverage/coverage.html \
	  --txt build/coverage/coverage.txt --print-summary --fail-under-line 95 && cat build/coverage/coverage.txt && \
	exit $$status

bench: release
	$(RELEASE_DIR)/bench/talvenor_bench

# Instructions per frame of each configuration under callgrind, and of XPluginStart (bench/measure_budget.sh).
bench-count: release
	bench/measure_budget.sh $(RELEASE_DIR)

# Every libFuzzer target for FUZZ_SECONDS seconds each (clang, ASan + UBSan), with its executions.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := setup_file number_text aircraft_files tracker_frames external_data widget_text scenario_parser udp_datagram udp_settings
fuzz: deps-fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz --target sim_companions $(FUZZ_TARGETS:%=%_fuzz)
	scripts/run_fuzz.sh build/fuzz $(FUZZ_SECONDS)

# A million cycles of random events under ASan and UBSan. The run prints its seed (SOAK_SEED=N runs that one
# again); a failure leaves build/asan/soak-SEED.scn, which build/asan/sim/talvenor-sim replays. Then a
# thousand saves killed in the middle, each followed by a fresh start that checks the files.
SOAK_CYCLES ?= 1000000
SOAK_KILLS ?= 1000
soak: deps
	cmake --preset asan
	cmake --build --preset asan --target soak Talvenor talvenor-sim sim_companions
	cd build/asan && export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 && \
	  tests/soak --cycles $(SOAK_CYCLES) $(if $(SOAK_SEED),--seed $(SOAK_SEED)) && \
	  tests/soak --kills $(SOAK_KILLS) $(if $(SOAK_SEED),--seed $(SOAK_SEED))

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist

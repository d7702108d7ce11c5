# The two commands a newcomer needs: `make demo` and `make test`.
.PHONY: deps demo test build dev asan release format bench clean

deps:
	@scripts/install-deps.sh

build dev: deps
	cmake --preset dev
	cmake --build --preset dev

asan: deps
	cmake --preset asan
	cmake --build --preset asan

release: deps
	cmake --preset release
	cmake --build --preset release

demo: dev
	build/dev/sim/talvenor-sim --plot build/dev/demo-head.svg examples/demo.scn

test: dev asan
	ctest --preset dev
	ctest --preset asan

bench: release
	build/release/bench/talvenor_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist

# The two commands of the README. Everything else is plain CMake presets.
.PHONY: all build test run release bench clean

all: build

build:
	cmake --preset dev
	cmake --build --preset dev

test: build
	ctest --preset dev

release:
	cmake --preset release
	cmake --build --preset release

bench: release
	./build/release/bench/engine_bench
	./build/release/bench/tablegen_bench

run: build
	@if [ -x build/dev/cli/kvplan ] && [ -f examples/oc-air-40m.ccp ]; then \
	  ./build/dev/cli/kvplan calc examples/oc-air-40m.ccp; \
	else \
	  ./build/dev/tests/base_tests --gtest_brief=1 >/dev/null && echo "self-check passed"; \
	fi

clean:
	rm -rf build

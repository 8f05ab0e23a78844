# The two commands of the README. Everything else is plain CMake presets.
.PHONY: all build test run screenshots release bench package clean

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
	./build/release/bench/bailout_bench
	./build/release/bench/tablegen_bench
	@if [ -x build/release/bench/edit_bench ]; then ./build/release/bench/edit_bench; fi

# The desktop program on an example plan when a display is available
# (ARGS=path/to/plan.ccp for another); kvplan on the example otherwise.
ARGS ?= examples/oc-trimix-60m.ccp
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -x build/dev/bin/KestrunVarnadel ]; then \
	  ./build/dev/bin/KestrunVarnadel $(ARGS); \
	else \
	  ./build/dev/cli/kvplan calc $(ARGS); \
	  echo; \
	  echo "No display here: that was kvplan. Start the window with ./build/dev/bin/KestrunVarnadel $(ARGS)"; \
	  echo "on a desktop, or under Xvfb (bash scripts/install-deps.sh --gui-check; make screenshots)."; \
	fi

# The pictures of docs/screenshots/, taken from the real window under Xvfb.
screenshots: build
	bash scripts/screenshots.sh

# A Debian package of the desktop program and its language library.
package: release
	cd build/release && cpack

clean:
	rm -rf build

# Front door. `make demo` runs the main job, `make test` passes the tests; both bootstrap first.
JOBS ?= $(shell nproc)
PRESETS := host win64 win32
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap build test demo size fuzz bench clean

all: build

bootstrap:
	@bash scripts/bootstrap

# Configure each preset once, then build it (one preset at a time: two cores).
build: bootstrap
	@set -e; for p in $(PRESETS); do \
	  [ -f build/$$p/build.ninja ] || cmake --preset $$p >/dev/null; \
	  echo "== build $$p"; cmake --build --preset $$p -j $(JOBS); \
	done

# Host tests, then every Wine suite (the portable tests, the Windows tests, the ui-driver
# and the end-to-end scenarios) for the x64 stub, then for the x86 stub under 32-bit Wine
# (skipped where Wine cannot run 32-bit programs). The two presets share the prefix, one
# session after the other.
test: build
	ctest --preset host
	ctest --preset win64
	ctest --preset win32

size: build
	@bash scripts/size

demo: build
	@bash scripts/demo

fuzz: bootstrap
	@bash fuzz/run.sh all $(FUZZ_SECONDS)

bench: bootstrap
	@bash bench/run.sh

clean:
	rm -rf build

# The two commands: `make run` (arrives with the main window) and `make test`.
BUILD ?= build
WERROR ?= OFF
CMAKE_FLAGS ?=

.PHONY: all deps build test bench clean
all: build

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DTALVO_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# Window tests need a display: every test runs on a fresh virtual one with a window manager.
test: build
	cd $(BUILD) && ../scripts/with-display ctest --output-on-failure -j2

bench: build
	$(BUILD)/bench/bench_core

clean:
	rm -rf $(BUILD) build-asan build-fuzz

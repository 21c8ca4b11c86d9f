# Two commands do everything on a fresh Debian 12 machine: `make run` and `make test`.
# Each first installs the Debian packages that are missing, then configures and builds.

BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test bench package clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/sinkaway $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) build-*

bench: build
	./$(BUILD)/bench/rules_bench

package: build
	cd $(BUILD) && cpack -G DEB

# Two commands do everything on a fresh Debian 12 machine: `make run` and `make test`.
# Each first installs the Debian packages that are missing, then configures and builds.

BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The same tests once more under AddressSanitizer and UndefinedBehaviorSanitizer. Clang compiles
# the heavy headers (CLI11, GoogleTest) about twice as fast as GCC with the sanitizers on, Ninja
# lets the test sources compile while the libraries still build, and -O1 keeps the run quick.
ASAN_BUILD ?= build-asan
ASAN_FLAGS ?= -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
	"-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" -DSINKAWAY_SANITIZE=ON -DSINKAWAY_BUILD_BENCH=OFF

.PHONY: all deps build run test asan-test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) $(ASAN_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/sinkaway $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	@$(MAKE) --no-print-directory asan-test

# Every program of that build stops at the first report with status 99 (app/sanitizer_options.cpp).
asan-test: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) build-*

bench: build
	./$(BUILD)/bench/rules_bench

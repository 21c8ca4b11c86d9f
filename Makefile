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

# Fuzzing with libFuzzer: every fuzz/NAME_fuzz.cpp is a target, seeded from fuzz/corpus/NAME, with
# fuzz/NAME.dict and the libFuzzer options in fuzz/NAME.flags if they exist, and also from the
# folders fuzz/NAME.seeds names. What a run learns
# stays in build-fuzz/corpus/NAME; a crash is saved in build-fuzz/crashes/NAME and fails the run.
# `make test` gives each target 10 s.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_FLAGS ?= -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DSINKAWAY_FUZZ=ON -DSINKAWAY_BUILD_TESTS=OFF -DSINKAWAY_BUILD_BENCH=OFF
FUZZ_TARGETS = $(patsubst fuzz/%_fuzz.cpp,%,$(wildcard fuzz/*_fuzz.cpp))

# The real-window tests run one at a time, as each drives its own X server by the clock. They wait
# for what they check, so a busy machine makes them slower, not flaky: no second chances.
E2E_CTEST ?= -L e2e

# The bot's soak run: SOAK_HOURS simulated hours with every invariant checked (CTest plays two).
SOAK_HOURS ?= 24

# The browser build: SDL2 and its companions built once for WebAssembly from Debian's source
# packages into WEB_DEPS, the game built over them in WEB_OBJ, and the page that a static host
# serves as it is in WEB_SITE. `make run-web` serves it on WEB_ADDRESS:WEB_PORT.
WEB_DEPS ?= build-web-deps
WEB_OBJ ?= build-wasm
WEB_SITE ?= build-web
WEB_ADDRESS ?= 127.0.0.1
WEB_PORT ?= 8000
EMCMAKE = NODE_PATH=/usr/share/nodejs emcmake

.PHONY: all deps build run test asan-test fuzz soak bot-replay bench package clean
.PHONY: web-deps web run-web web-test bench-web run-server bench-server

# The leaderboard server over a private PostgreSQL cluster in $(BUILD)/server-data, serving the
# page of $(WEB_SITE) too when it is built. SERVER_ARGS passes more flags (--no-rate-limits, ...).
SERVER_ADDRESS ?= 127.0.0.1
SERVER_PORT ?= 8080
SERVER_ARGS ?=

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) $(ASAN_FLAGS)

$(FUZZ_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(FUZZ_BUILD) $(FUZZ_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/sinkaway $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE e2e
	cd $(BUILD) && ctest --output-on-failure $(E2E_CTEST)
	@$(MAKE) --no-print-directory asan-test
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10
	@$(MAKE) --no-print-directory web-test

# Every program of that build stops at the first report with status 99 (app/sanitizer_options.cpp).
asan-test: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS) -LE e2e
	cd $(ASAN_BUILD) && ctest --output-on-failure $(E2E_CTEST)

fuzz: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzzers
	@for t in $(FUZZ_TARGETS); do \
	  opts=""; [ -f fuzz/$$t.dict ] && opts="-dict=fuzz/$$t.dict"; \
	  [ -f fuzz/$$t.flags ] && opts="$$opts $$(cat fuzz/$$t.flags)"; \
	  seeds=""; [ -f fuzz/$$t.seeds ] && seeds="$$(cat fuzz/$$t.seeds)"; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes/$$t; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s (log: $(FUZZ_BUILD)/fuzz-$$t.log)"; \
	  if ! ./$(FUZZ_BUILD)/fuzz/$${t}_fuzz $$opts -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	      -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t/ \
	      $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t $$seeds >$(FUZZ_BUILD)/fuzz-$$t.log 2>&1; then \
	    tail -n 40 $(FUZZ_BUILD)/fuzz-$$t.log; \
	    echo "$$t: crash kept in $(FUZZ_BUILD)/crashes/$$t/ - fix it, then copy the file to"; \
	    echo "fuzz/corpus/$$t/ under a name that says what it caught (git ignores crash-*),"; \
	    echo "so CTest replays it from then on"; \
	    exit 1; \
	  fi; \
	  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss)' \
	    $(FUZZ_BUILD)/fuzz-$$t.log; \
	done

soak: build
	SINKAWAY_SOAK_HOURS=$(SOAK_HOURS) ./$(BUILD)/tests/soak_test --gtest_filter='Soak.*'

# Records a long bot game as tests/replays/bot_long.txt and pins its trace in bot_long.golden.
bot-replay: build
	./$(BUILD)/tests/record_bot tests/replays/bot_long.txt
	SINKAWAY_UPDATE_GOLDEN=1 ./$(BUILD)/tests/replay_test

clean:
	rm -rf $(BUILD) build-*

# The game against the bare SDL2 loop under Xvfb in BENCH_ROUNDS paired rounds of BENCH_SECONDS
# each, then drawing alone and the rules' headless benchmarks; the table goes to bench/results.md.
BENCH_SECONDS ?= 10
BENCH_ROUNDS ?= 10
bench: build
	BENCH_SECONDS=$(BENCH_SECONDS) BENCH_ROUNDS=$(BENCH_ROUNDS) python3 bench/side_by_side.py \
	  --game ./$(BUILD)/sinkaway --baseline ./$(BUILD)/bench/baseline \
	  --draw-bench ./$(BUILD)/draw_bench \
	  --rules-bench ./$(BUILD)/bench/rules_bench --out bench/results.md

# The page's figures beside the desktop's: bytes, first frame, pace, CPU, the rules under node.
bench-web: build web
	node bench/web_bench.mjs $(WEB_SITE) $(WEB_OBJ)/sinkaway_node.js $(BUILD)/sinkaway bench/web_results.md

# The server's figures beside the bare --verify: proofs a second, board reads idle and under load,
# memory; over a private cluster in $(BUILD)/bench-pg, removed after.
bench-server: build
	bash scripts/pg-cluster.sh start $(BUILD)/bench-pg
	./$(BUILD)/bench/server_bench ./$(BUILD)/sinkaway-server ./$(BUILD)/sinkaway \
	  "$$(sed 's/ dbname=.*//' $(BUILD)/bench-pg/conninfo)" bench/server_results.md; \
	  status=$$?; bash scripts/pg-cluster.sh remove $(BUILD)/bench-pg; exit $$status

package: build
	cd $(BUILD) && cpack -G DEB
	cd $(BUILD) && { [ ! -f CPackServerConfig.cmake ] || cpack -G DEB --config CPackServerConfig.cmake; }

web-deps:
	@bash scripts/install-web-deps.sh

web: web-deps
	JOBS=$(JOBS) bash scripts/build-web-deps.sh $(WEB_DEPS)
	@[ -f $(WEB_OBJ)/CMakeCache.txt ] || $(EMCMAKE) cmake -S . -B $(WEB_OBJ) \
	  -DCMAKE_BUILD_TYPE=Release -DSINKAWAY_BUILD_TESTS=OFF -DSINKAWAY_BUILD_BENCH=OFF \
	  -DCMAKE_PREFIX_PATH=$(abspath $(WEB_DEPS))/prefix \
	  -DCMAKE_FIND_ROOT_PATH=$(abspath $(WEB_DEPS))/prefix \
	  -DSINKAWAY_WEB_SITE=$(abspath $(WEB_SITE))
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_OBJ) -j$(JOBS)

run-web: web
	@echo "Sinkaway in the browser: http://$(WEB_ADDRESS):$(WEB_PORT)/ (Ctrl+C stops it)"
	python3 -m http.server $(WEB_PORT) --bind $(WEB_ADDRESS) --directory $(WEB_SITE)

run-server: build
	bash scripts/run-server.sh $(BUILD) $(SERVER_ADDRESS):$(SERVER_PORT) $(WEB_SITE) $(SERVER_ARGS)

# The wasm driver under node against every golden replay, then the page in headless Chromium:
# served as a static host serves it, then by sinkaway-server (of $(BUILD)) over a throwaway
# PostgreSQL cluster.
web-test: web
	node tests/web/replays.mjs $(WEB_OBJ)/sinkaway_node.js tests/replays
	node tests/web/page_test.mjs $(WEB_SITE) $(BUILD)/sinkaway
	node tests/web/world_test.mjs $(WEB_SITE) $(BUILD)

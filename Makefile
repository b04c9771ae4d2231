# A thin wrapper over CMake: every target installs what is missing first.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
BENCH_DIR ?= build-bench
FUZZ_DIR ?= build-fuzz
JOBS ?= 2
# How long `make fuzz` runs each fuzz target, in seconds.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = simulator_output avrdude_output builder_output message_file
# The kinds of test that run under the sanitizers: everything but the window
# (Qt's widget stack) and the board (the AVR toolchain, not our code); the
# simulator's own tests run a few simulated seconds, so they are here too.
SANITIZED_LABELS ?= unit qt cli simulator
empty :=
space := $(empty) $(empty)
# Leaks inside Qt's own libraries are listed in the suppressions file; none
# of ours may be. Undefined behaviour already stops the program (the build
# turns recovery off).
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0

.PHONY: all deps configure build test test-sanitized fuzz run bench package clean

all: build

deps:
	./scripts/install-deps

# The layers and tests are compiled eight sources to a unit, which halves
# the time spent reading Qt's headers; a plain cmake build compiles them one
# by one, and both must build.
UNITY = -DCMAKE_UNITY_BUILD=ON

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DLEDMARQUEE_WERROR=ON $(UNITY)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The board tests share one Arduino build folder and a simulated board, so
# they run one at a time after the others, which run side by side.
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -LE '^board$$' -j $(JOBS)
	ctest --test-dir $(BUILD_DIR) --output-on-failure -L '^board$$'

test-sanitized: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DLEDMARQUEE_WERROR=ON -DLEDMARQUEE_SANITIZE=ON $(UNITY)
	$(SANITIZER_ENV) cmake --build $(ASAN_DIR) -j $(JOBS) --target $(addprefix tests-,$(SANITIZED_LABELS))
	$(SANITIZER_ENV) ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) -L '^($(subst $(space),|,$(SANITIZED_LABELS)))$$'

# The readers of outside text (the simulator's, avrdude's and the builder's
# output, message files) under libFuzzer with the sanitizers, each for
# FUZZ_SECONDS. New inputs go to $(FUZZ_DIR)/corpus, what makes one fail to
# $(FUZZ_DIR)/found-TARGET-*; the seeds in tests/fuzz/corpus are only read.
fuzz: deps
	cmake -S tests/fuzz -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	set -e; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$target; \
	  echo "fuzz: $$target for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/fuzz-$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/found-$$target- $(FUZZ_DIR)/corpus/$$target tests/fuzz/corpus/$$target; \
	done

run: build
	./scripts/run-window $(BUILD_DIR)

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DLEDMARQUEE_BUILD_BENCH=ON -DBUILD_TESTING=OFF $(UNITY)
	cmake --build $(BENCH_DIR) -j $(JOBS) --target ledmarquee-bench ledmarquee ledmarquee-cli ledmarquee-preview-cpu ledmarquee-window-generate simulated-mega-pty \
		ledmarquee-simulator ledmarquee-simulate-speed ledmarquee-live-sign ledmarquee-window-upload
	$(BENCH_DIR)/bench/ledmarquee-bench
	./bench/cli-figures $(BENCH_DIR)/cli/ledmarquee-cli $(EARLIER_CLI)
	./bench/window-figures $(BENCH_DIR)/bench/ledmarquee-window-generate $(EARLIER_WINDOW)
	./bench/preview_cpu.sh $(BENCH_DIR)
	./bench/board-times $(BENCH_DIR)
	./bench/simulate-figures $(BENCH_DIR)
	./bench/startup-time $(BENCH_DIR)/app/ledmarquee

# build/ledmarquee_VERSION_ARCH.deb; install it with: sudo apt install ./build/ledmarquee_*.deb
package: build
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) $(FUZZ_DIR)

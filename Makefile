# A thin wrapper over CMake: every target installs what is missing first.
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
JOBS ?= 2

.PHONY: all deps configure build test run bench package clean

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure

run: build
	./scripts/run-window $(BUILD_DIR)

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DLEDMARQUEE_BUILD_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target ledmarquee-bench
	$(BENCH_DIR)/bench/ledmarquee-bench
	cmake --build $(BENCH_DIR) -j $(JOBS) --target ledmarquee
	./bench/startup-time $(BENCH_DIR)/app/ledmarquee

# build/ledmarquee_VERSION_ARCH.deb; install it with: sudo apt install ./build/ledmarquee_*.deb
package: build
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)

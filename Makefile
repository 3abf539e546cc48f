# Two commands on a fresh Debian machine: `make run` and `make test`.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Build tools, libraries and the programs the tests drive (xvfb: an X server for the tests on xcb).
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev libgmock-dev \
            zlib1g-dev lame twolame libmpg123-dev libao-dev libxlsxwriter-dev libchm-dev \
            python3 python3-mutagen python3-openpyxl fp-utils xvfb

.PHONY: all deps configure build run test clean check-sanitize fuzz

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/bin/corvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $$(nproc)

clean:
	rm -rf $(BUILD)

# The whole test suite built and run with AddressSanitizer and UndefinedBehaviorSanitizer. -O1:
# at -O2 the compiler warns of false array bounds in Qt's headers once the sanitizers are on.
SANITIZE_FLAGS := -O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

check-sanitize: deps
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  "-DCMAKE_C_FLAGS=$(SANITIZE_FLAGS)" "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)"
	cmake --build build-sanitize
	cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $$(nproc)

# Fuzz targets (clang's libFuzzer) over every parser of outside input, each run for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60

fuzz: deps
	$(MAKE) deps PACKAGES="clang-14 libclang-rt-14-dev"
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	  "-DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address,undefined" \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined"
	cmake --build build-fuzz --target corvane_fuzz
	fuzz/run-all build-fuzz $(FUZZ_SECONDS)

# The benchmark against TagLib in a Release build of its own (bench/README.md); TagLib is needed
# only here. BENCH_ARGS passes options, e.g. BENCH_ARGS="--files 500".
BENCH_ARGS ?=

.PHONY: bench
bench: deps
	$(MAKE) deps PACKAGES="libtag1-dev"
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_BENCH=ON
	cmake --build build-bench --target corvane_bench
	QT_QPA_PLATFORM=offscreen build-bench/bin/corvane_bench $(BENCH_ARGS)

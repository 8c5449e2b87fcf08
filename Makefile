# make run   - installs what is missing, builds, starts the messenger under Wine
# make test  - installs what is missing, builds both targets, runs every test
# make bench - the benchmarks (as root, for network namespaces): serving, downloading, the receive
#              path and start-up, and what one hostile host makes the messenger spend
BUILD := build
JOBS  ?= $(shell nproc)

.PHONY: all setup build build-test build-release test run bench clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/x86_64/CMakeCache.txt:
	cmake -S . -B $(BUILD)/x86_64 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DZQ_RELEASE_EXE=$(CURDIR)/$(BUILD)/i686/ZQ.exe

$(BUILD)/i686/CMakeCache.txt:
	cmake -S . -B $(BUILD)/i686 -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DZQ_TESTS=OFF

build-test: setup $(BUILD)/x86_64/CMakeCache.txt
	cmake --build $(BUILD)/x86_64 -j $(JOBS)

build-release: setup $(BUILD)/i686/CMakeCache.txt
	cmake --build $(BUILD)/i686 -j $(JOBS)

build: build-release build-test

test: build
	bash scripts/make-prefix.sh $(BUILD)/wineprefix
	bash scripts/with-own-network bash scripts/with-display ctest --test-dir $(BUILD)/x86_64 --output-on-failure -j 4

run: build-test
	bash scripts/run-zq.sh $(BUILD)/x86_64/ZQ.exe

bench: build-test
	bash bench/serve-throughput.sh $(BUILD)/x86_64
	bash bench/download-throughput.sh $(BUILD)/x86_64
	bash bench/receive-path.sh $(BUILD)/x86_64
	bash bench/hostile-host.sh $(BUILD)/x86_64

clean:
	rm -rf $(BUILD)

# Everyday commands: `make demo`, `make test`. See README.md.
BUILD ?= build
SAN_BUILD ?= build-sanitize
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build demo test sanitize bench fuzz clean

all: build

deps:
	@scripts/deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	$(BUILD)/zel demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DZEL_SANITIZE=ON -DZEL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	bench/run.sh $(BUILD)

fuzz: deps
	$(MAKE) -C fuzz

clean:
	rm -rf $(BUILD) $(SAN_BUILD)

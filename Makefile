# Everyday commands: `make demo`, `make test`. See README.md.
BUILD ?= build
SAN_BUILD ?= build-sanitize
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
PKG_BUILD ?= build-package
FUZZ_SECONDS ?= 60
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build demo test desktop sanitize tsan bench fuzz fuzz-build abi-check \
  abi-update docs package clean

all: build

deps:
	@scripts/deps

# With ccache (scripts/deps installs it) the package tree reuses the objects the build tree
# compiled: the same flags, paths hashed relative to the checkout, folders not hashed.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(LAUNCHER) $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	$(BUILD)/zel demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE desktop

# The desktop suite: windows on a real X server of its own (Xvfb with openbox), driven by
# real input events and checked on the grabbed screen, one test at a time.
desktop: build
	scripts/desktop-session sh -c 'cd $(BUILD) && ctest --output-on-failure -L desktop'

sanitize: deps
	cmake -S . -B $(SAN_BUILD) -G Ninja -DZEL_SANITIZE=ON -DZEL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -LE desktop

# The threads under ThreadSanitizer: the core and the tests of the window model, the tool
# folder's watch, the tool manager, the reading of big files in two threads and zel view's
# document engine (Debian's Qt is not built for it: its tests stay out).
TSAN_PLATFORM_TESTS = WindowModelTest.*:MenuModelTest.*:FrameworkTest.*:MDIFrameTest.*:WindowObjectTest.*:TreeWatchTest.*:IntegrationTest.*:*/TreeWatchContract.*
TSAN_TOOLS_TESTS = ToolMonitorTest.*:ToolMenuTest.*:ToolUpdateUiTest.*:AppToolsTest.*:MigrationTest.*
TSAN_FILES_TESTS = LineScanTest.CountByOffset*:BaseRunTest.FileScan*:DetectBulkTest.FileScan*
tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DZEL_TSAN=ON -DZEL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_platform test_tools test_view test_files
	cd $(TSAN_BUILD) && export TSAN_OPTIONS=halt_on_error=1 && \
	  tests/test_platform --gtest_filter='$(TSAN_PLATFORM_TESTS)' && \
	  tests/test_tools --gtest_filter='$(TSAN_TOOLS_TESTS)' && \
	  tests/test_files --gtest_filter='$(TSAN_FILES_TESTS)' && \
	  tests/test_view

# A tree configured without the benchmarks (ZEL_BENCH=OFF) gets them back.
bench: build
	cmake -S . -B $(BUILD) -DZEL_BENCH=ON > /dev/null
	cmake --build $(BUILD) --target benchmarks -j $(JOBS)
	bench/run.sh $(BUILD)

# The fuzz harnesses with libFuzzer, ASan and UBSan: fuzz-build builds them, fuzz also runs
# each for FUZZ_SECONDS (fuzz/run.sh says where inputs and findings go).
fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DZEL_FUZZ=ON -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The shared libraries' interface against the baselines in abi/: abi-check fails on any
# change (abidiff's report printed), abi-update accepts the built libraries' interface.
abi-check abi-update: configure
	cmake --build $(BUILD) -j $(JOBS) --target zelutil zelutil-qt
	abi/abi.sh $(subst abi-,,$@) $(BUILD)

# The API reference (Doxygen) of the installed headers, its main page the tour in
# docs/api: $(BUILD)/docs/api/html/index.html.
docs: configure
	cmake --build $(BUILD) -j $(JOBS) --target docs

# The Debian packages, into $(PKG_BUILD)/packages: a tree of their own, configured with the
# prefix /usr (libraries in /usr/lib/<multiarch>), without tests or benchmarks, with
# the API reference for the -dev package. Checked by
# lintian and by scripts/package-check, which installs them.
package: deps
	cmake -S . -B $(PKG_BUILD) -G Ninja -DZEL_PACKAGE=ON -DCMAKE_INSTALL_PREFIX=/usr \
	  -DZEL_TESTS=OFF -DZEL_BENCH=OFF $(LAUNCHER) $(CMAKE_FLAGS)
	cmake --build $(PKG_BUILD) -j $(JOBS) --target all docs
	rm -rf $(PKG_BUILD)/packages
	cd $(PKG_BUILD) && cpack -G DEB
	@ls -1 $(PKG_BUILD)/packages/*.deb

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(PKG_BUILD)

# Newcomer's entry points: `make run` opens the program on the virtual instrument,
# `make test` builds and passes every test (plain and under ASan/UBSan).
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
PACKAGE_BUILD ?= build-package
FUZZ_SECONDS ?= 600
FUZZ_TARGETS := calibration profile config script scpi
JOBS       ?= $(shell nproc)
PACKAGES   := build-essential cmake g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
              googletest libbenchmark-dev xvfb xauth clang-format libusb-1.0-0-dev libpng-dev pkg-config \
              dpkg-dev file umockdev libumockdev-dev python3-pyvisa python3-pyvisa-py python3-numpy
# Only `make package` needs this: the manual pages are made from the programs' --help.
PACKAGE_PACKAGES := help2man
# Only `make fuzz` needs these: libFuzzer comes with clang's runtime libraries.
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev

.PHONY: all deps deps-fuzz install-packages configure build run test test-plain test-asan bench soak fuzz package \
        glossary install format clean

all: build

# Installs the Debian packages that are missing (needs root, as on a fresh machine).
deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES)"

deps-fuzz: deps
	@$(MAKE) --no-print-directory install-packages WANTED="$(FUZZ_PACKAGES)"

install-packages:
	@missing=""; for p in $(WANTED); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -ne 0 ]; then echo "run as root to install:$$missing"; exit 1; fi; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNX_PCH=ON

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bin/tunx4k --simulate

test: test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@grep -h '^fault matrix:' $(BUILD)/Testing/Temporary/LastTest.log

# Core, simulator and script runner under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTUNX_SANITIZE=ON -DTUNX_BUILD_APP=OFF \
	  -DTUNX_PCH=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Each reader fuzzed for FUZZ_SECONDS (default 600) in turn, starting from fuzz/corpus/; fails
# on any finding. The findings go to $(FUZZ_BUILD)/fuzz-findings/.
fuzz: deps-fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
	  -DTUNX_FUZZ=ON -DTUNX_BUILD_APP=OFF -DTUNX_BUILD_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTUNX_BUILD_BENCH=ON -DTUNX_BUILD_APP=ON -DTUNX_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target tunx4k_bench tunx4k_app_bench tunx4k_responsiveness
	./$(BENCH_BUILD)/bench/tunx4k_bench
	QT_QPA_PLATFORM=offscreen ./$(BENCH_BUILD)/bench/tunx4k_app_bench
	QT_QPA_PLATFORM=offscreen ./$(BENCH_BUILD)/bench/tunx4k_responsiveness

# 100,000 refreshes across the modes and 100,000 scope ticks: CPU per operation, and the
# resident memory may not grow by more than 1 MB after the first 1,000 of each.
soak: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTUNX_BUILD_BENCH=ON -DTUNX_BUILD_APP=ON -DTUNX_BUILD_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target tunx4k_soak
	./$(BENCH_BUILD)/bench/tunx4k_soak

# The Debian package, build-package/tunx4k_VERSION_ARCH.deb (scripts/check-package.sh checks it):
# hardened programs, their manual pages. TUNX_MAINTAINER="Name <address>" and TUNX_HOMEPAGE=URL
# set the package's fields.
package: deps
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGE_PACKAGES)"
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DTUNX_BUILD_TESTS=OFF \
	  -DTUNX_HARDEN=ON -DTUNX_MAN_PAGES=ON \
	  $(if $(TUNX_MAINTAINER),"-DTUNX_MAINTAINER=$(TUNX_MAINTAINER)") \
	  $(if $(TUNX_HOMEPAGE),"-DTUNX_HOMEPAGE=$(TUNX_HOMEPAGE)")
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target tunx4k tunx4k-cli tunx4k_docs
	cd $(PACKAGE_BUILD) && cpack -G DEB

# docs/GLOSSARY.md: its tables of windows, controls and run states from the program's own, keeping
# the meanings; a row without one is then named by the test.
glossary: build
	TUNX_UPDATE_GLOSSARY=1 ./$(BUILD)/bin/tunx4k_tests --gtest_filter='Glossary.*'

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

format:
	find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)

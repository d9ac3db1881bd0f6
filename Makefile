# Zephyra: the two commands of a fresh Debian machine.
#   make       installs what is missing, builds the three presets, assembles dist/ with the
#              installers and saves pictures of the toolbar (the demo host under wine) into dist/screenshots/
#   make test  builds, then runs the host tests, the same under the sanitizers, each fuzz target
#              briefly, the Windows tests and the installer's test under wine64
SHELL := /bin/bash
PACKAGES := cmake make g++ openssl googletest libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev \
            g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine xvfb xauth nsis \
            clang libclang-rt-14-dev
PRESETS := host win64 win32

.PHONY: all deps build dist demo installers test test-host test-asan test-fuzz test-win64 test-installer \
        fuzz benchmarks clean

all: dist

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages; install them with:"; \
	    echo "  sudo apt-get install -y" $$missing; \
	    exit 1; \
	  fi; \
	fi

build: deps
	@for p in $(PRESETS); do \
	  cmake --preset $$p >/dev/null && cmake --build --preset $$p || exit 1; \
	done

dist: build
	tools/assemble-dist.sh
	tools/build-installers.sh
	tools/run-demo.sh --screenshots dist/screenshots

# The installers from the installation folders: dist/ZephyraSetup.exe (i686), dist/ZephyraSetup64.exe (x86_64).
installers: build
	tools/assemble-dist.sh
	tools/build-installers.sh

# The demo host on your own display, for a person to click through.
demo: build
	tools/run-demo.sh

test: build test-host test-asan test-fuzz test-win64 test-installer

test-host:
	ctest --preset host

# The host tests again under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
test-asan: deps
	cmake --preset host-asan >/dev/null && cmake --build --preset host-asan
	ctest --preset host-asan

# Each fuzz target for FUZZ_CI_SECONDS: they must keep finding nothing.
FUZZ_CI_SECONDS ?= 30
test-fuzz: deps
	tools/run-fuzz.sh $(FUZZ_CI_SECONDS)

test-win64:
	tools/wine-ctest.sh

test-installer: installers
	tools/test-installer.sh

# The fuzz targets (clang, libFuzzer, ASan, UBSan), each for FUZZ_SECONDS on a copy of its seeds.
FUZZ_SECONDS ?= 60
fuzz:
	tools/run-fuzz.sh $(FUZZ_SECONDS)

# The benchmarks in an optimised build, and the popup helper's decision under wine: a table of targets.
benchmarks: deps
	tools/run-benchmarks.sh

clean:
	rm -rf build dist

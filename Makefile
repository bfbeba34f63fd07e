# A thin driver for CMake. `make run` and `make test` install what is missing first.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
DEB_DIR ?= build-deb
# Where `make install` puts the program; DESTDIR, when given, is put in front of it.
PREFIX ?= /usr/local
CMAKE_FLAGS ?=
# Seconds each fuzz program runs in `make fuzz`.
SECONDS ?= 60

.PHONY: all deps build run test install deb sanitize fuzz bench screenshots format clean

all: build

deps:
	@scripts/install-dependencies.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

# Opens the window on the sample lists, or the terminal version where there is no display.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/bin/tavrino; \
	else \
	  echo "No display found: starting the terminal version (tavrino --text)."; \
	  $(BUILD_DIR)/bin/tavrino --text; \
	fi

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j2

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, built apart in $(DEB_DIR) for the prefix /usr that it installs to, without
# the tests, and with Debian's hardening flags as a package build would have them.
BUILD_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
deb:
	@scripts/install-dependencies.sh --package
	cmake -S . -B $(DEB_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DTAVRINO_BUILD_TESTS=OFF -DTAVRINO_BENCHMARKS=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(BUILD_FLAGS) CPPFLAGS) $$($(BUILD_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILD_FLAGS) LDFLAGS)" $(CMAKE_FLAGS)
	cmake --build $(DEB_DIR)
	cd $(DEB_DIR) && cpack
	@ls -l $(DEB_DIR)/tavrino_*.deb

# The tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DTAVRINO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DTAVRINO_BENCHMARKS=OFF
	cmake --build $(SANITIZE_DIR)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/leak-suppressions.txt:print_suppressions=0 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j2

# Every libFuzzer program, built with clang over the whole core, for SECONDS each. What they
# find stays in $(FUZZ_DIR)/fuzz-runs/; the seeds in fuzz/corpus/ are not changed.
fuzz:
	@scripts/install-dependencies.sh --fuzz
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTAVRINO_FUZZ=ON -DTAVRINO_BENCHMARKS=OFF
	cmake --build $(FUZZ_DIR) --target tavrino-fuzzers
	scripts/run-fuzzers.sh $(FUZZ_DIR) $(SECONDS)

# One table of every benchmark beside its reference; RECORD=1 also writes it into
# bench/RESULTS.md.
bench: build
	python3 scripts/run-benchmarks.py $(BUILD_DIR) $(if $(RECORD),--record bench/RESULTS.md)

# The screens of the README and the authors' guide, rendered by the window program under Xvfb
# into docs/screenshots/ and docs/guide/; the guide's findings section made again with them.
screenshots: build
	@scripts/install-dependencies.sh --screenshots
	scripts/make-screenshots.sh $(BUILD_DIR)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(DEB_DIR)

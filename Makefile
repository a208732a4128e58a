# The two commands of a fresh machine: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
# Seconds each fuzz target runs for under `make fuzz`.
FUZZ_SECONDS ?= 600
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test test-sanitize test-threads fuzz bench deb web web-test format check-format clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run-desktop.sh $(BUILD_DIR)/dovetail

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: export LSAN_OPTIONS = suppressions=$(CURDIR)/scripts/lsan.supp
test-sanitize: export UBSAN_OPTIONS = print_stacktrace=1
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDOVETAIL_SANITIZE=ON \
	  -DDOVETAIL_DESKTOP=OFF -DDOVETAIL_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-threads

# The tests of the program's threads (the soundfont loaded while the splash
# runs, the fonts looked up meanwhile, the sound server's thread pulling the
# sound) under ThreadSanitizer.
test-threads: export TSAN_OPTIONS = halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/scripts/tsan.supp
test-threads: deps
	@cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDOVETAIL_TSAN=ON \
	  -DDOVETAIL_DESKTOP=OFF -DDOVETAIL_BENCH=OFF >/dev/null
	@cmake --build $(TSAN_DIR) -j $(JOBS) --target dovetail_tests
	@$(TSAN_DIR)/tests/dovetail_tests --gtest_filter='SynthAudioOutput*:SoundServerStreams*:FontLookup*'


# Every reader under libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang), FUZZ_SECONDS each, from a seed corpus of the demo and the test fixtures.
fuzz: deps
	@FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) bash scripts/fuzz.sh $(FUZZ_DIR)

bench: build
	@$(BUILD_DIR)/bench/effects
	@$(BUILD_DIR)/bench/music
	@$(BUILD_DIR)/bench/headless

# The Debian package, from the tree with dpkg-buildpackage, checked by lintian
# (build-deb/dovetail_VERSION_ARCH.deb).
deb:
	@JOBS=$(JOBS) bash scripts/make-deb.sh

# The game for web browsers in build-web/site, with Debian's emscripten.
web:
	@JOBS=$(JOBS) bash scripts/make-web.sh

# The page in headless Chromium against a server on the loopback address.
web-test: web
	@cd web && node test/run.js ../build-web/site ../$(BUILD_DIR)

format:
	@find src tests tools bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

# Fails on a source file that is not formatted (also a test of `make test`).
check-format:
	@bash scripts/check-format.sh

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR) build-deb build-web

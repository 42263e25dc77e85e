# make run:  install what the clock needs that is missing, build the clock alone (its two
#            helper programs with it, no test) in its own folder, start it.
# make test: the same set-up, then every test, headless (the core's under ASan/UBSan),
#            with warnings as errors.
# make install, make package: the installed tree (PREFIX, DESTDIR) and a Debian package.
# make other-builds: the program alone with clang and as a Release build (as CI does).
# make fuzz: every fuzz target built (libFuzzer, ASan, UBSan) and run FUZZ_SECONDS each,
#            over its saved corpus and seeds first (as CI does).
BUILD      ?= build
RUN_BUILD  ?= build-run
ASAN_BUILD ?= build-asan
PKG_BUILD  ?= build-package
JOBS       ?= $(shell nproc)
# Tests side by side. The real-window tests mostly wait on their own displays and servers,
# but twice as many as there are processors left the browser test, now and then, never
# hearing that the clock had gone (not yet understood): one per processor.
TEST_JOBS  ?= $(JOBS)
PREFIX     ?= /usr/local
# Empty: whatever the build folder was configured with (off for a new one).
WERROR     ?=
# Empty: whatever the build folder was configured with (on for a new one).
WITH_BENCHMARKS ?=
WITH_CORE_TESTS ?=
FUZZ_SECONDS ?= 30

.PHONY: all deps run-deps build run test bench install package other-builds fuzz clean

all: build

deps:
	@tools/install-deps

run-deps:
	@tools/install-deps --run

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  $(if $(WERROR),-DTESSARON_WERROR=$(WERROR)) \
	  $(if $(WITH_BENCHMARKS),-DTESSARON_BENCHMARKS=$(WITH_BENCHMARKS)) \
	  $(if $(WITH_CORE_TESTS),-DTESSARON_CORE_TESTS=$(WITH_CORE_TESTS)) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# A newcomer's first command shows the clock as soon as the program alone is built: the
# tests, benchmarks and tools are left to `make test`.
run: run-deps
	@cmake -S . -B $(RUN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target tessaron
	$(RUN_BUILD)/tessaron

# Our own test builds turn warnings into errors; the tests that share nothing run side
# by side (those that do hold a resource lock). The core's tests run under the sanitizers
# only, and the benchmarks are left to `make bench`: the main build compiles neither.
test: WERROR = ON
test: WITH_BENCHMARKS = OFF
test: WITH_CORE_TESTS = OFF
test: build
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESSARON_CORE_ONLY=ON \
	  -DTESSARON_SANITIZE=ON -DTESSARON_WERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) -j $(JOBS) --output-on-failure
	ctest --test-dir $(BUILD) -j $(TEST_JOBS) --output-on-failure

# Every benchmark runs, each printing its figures beside their aims; a missed aim is
# reported, and only a benchmark that could not run fails the target, after all ran.
BENCHMARKS = $(BUILD)/tick_benchmark $(BUILD)/window_tick_benchmark \
  $(BUILD)/catalogue_benchmark "bench/startup_memory.sh $(BUILD)" "bench/tick_cost.py $(BUILD)" \
  "bench/stop_resume.py $(BUILD)"
bench: WITH_BENCHMARKS = ON
bench: build
	@failed=; for b in $(BENCHMARKS); do \
	  echo "== $$b"; $$b || failed="$$failed\n  $$b (exit $$?)"; \
	done; \
	if [ -n "$$failed" ]; then printf "benchmarks that could not run:$$failed\n"; exit 1; fi

# make install [PREFIX=/usr/local] [DESTDIR=/staging]
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# make package: a Debian package in $(PKG_BUILD)/, built as Debian builds its packages
# (its compiler flags, no build type of ours) and with nothing it does not ship.
# CMake reads no CPPFLAGS: they go with the compiler's flags, as Debian's own tools do.
package: deps
	@eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)" && \
	  CXXFLAGS="$$CXXFLAGS $$CPPFLAGS" \
	  cmake -S . -B $(PKG_BUILD) -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(PKG_BUILD) -j $(JOBS)
	cd $(PKG_BUILD) && cpack -G DEB

# A warning another compiler or the optimiser gives is seen before a user meets it.
other-builds:
	@tools/install-deps clang
	@cmake -S . -B build-clang -DCMAKE_CXX_COMPILER=clang++ -DBUILD_TESTING=OFF -DTESSARON_WERROR=ON >/dev/null
	@cmake --build build-clang -j $(JOBS)
	@cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  -DTESSARON_WERROR=ON >/dev/null
	@cmake --build build-release -j $(JOBS)

# A reader of outside input that crashes on some bytes, or a target that no longer builds,
# fails here rather than in a user's hands.
fuzz:
	@tools/install-deps clang libclang-rt-14-dev
	tests/fuzz/run.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(ASAN_BUILD) $(PKG_BUILD) build-clang build-release build-fuzz

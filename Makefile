# make run:  install what is missing, build, start the clock.
# make test: the same set-up, then every test, headless (core tests also under ASan/UBSan).
# make install, make package: the installed tree (PREFIX, DESTDIR) and a Debian package.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local

.PHONY: all deps build run test bench install package clean

all: build

deps:
	@tools/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/tessaron

test: build
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESSARON_CORE_ONLY=ON -DTESSARON_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure
	ctest --test-dir $(BUILD) --output-on-failure

bench: build
	$(BUILD)/tick_benchmark
	$(BUILD)/catalogue_benchmark
	bench/startup_memory.sh $(BUILD)
	bench/tick_cost.py $(BUILD)

# make install [PREFIX=/usr/local] [DESTDIR=/staging]
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# make package: a Debian package in $(BUILD)/
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# Two commands do everything on a fresh Debian 12 machine: `make demo` and `make test`.

SHELL := /bin/bash

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 30
# make e2e-long: model sessions, E2E_JOBS at a time from seed E2E_FIRST_SEED on, for E2E_SECONDS
# or until E2E_SEEDS have passed (0: no count).
E2E_SECONDS ?= 3600
E2E_SEEDS ?= 0
E2E_JOBS ?= 3
E2E_FIRST_SEED ?= 100
# Options of the demo's simulated recorder, e.g. RECSIM="--sysinfo 2" for an older one.
RECSIM ?=
CMAKE_FLAGS ?=

# Every Debian package the build, the tests, the sanitizer and fuzz runs and the demo need.
DEB_PACKAGES := build-essential cmake ninja-build pkg-config git clang libclang-rt-14-dev \
	qt6-base-dev libgl-dev libjpeg62-turbo-dev libsqlite3-dev libspandsp-dev libasound2-dev libblkid-dev \
	libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev locales python3
# Fonts the forms' families map to, with Japanese and Korean glyphs; and URW's look-alikes of the
# same faces, as many desktops have them, so the tests see that the map's choice ignores them.
DEB_PACKAGES += fonts-dejavu-core fonts-liberation fonts-ipafont-gothic fonts-nanum fonts-urw-base35
# The real display of the end-to-end tests: the X server, its pointer and keyboard, its pictures.
DEB_PACKAGES += xvfb xauth xdotool imagemagick libx11-dev
# The map window: the browser engine and the map library its page loads.
DEB_PACKAGES += qt6-webengine-dev libjs-leaflet
# The recorder disk: showing its folder, and the file system and zones its tests need.
DEB_PACKAGES += xdg-utils e2fsprogs tzdata

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test e2e-long asan fuzz demo bench format clean

all: build

deps:
	@missing=""; \
	for p in $(DEB_PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -q && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing || exit 1; \
	fi; \
	if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$$'; then \
		echo "Generating the es_ES.UTF-8 locale (decimal-comma tests)"; \
		$(SUDO) localedef -i es_ES -c -f UTF-8 es_ES.UTF-8 || true; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	$(MAKE) build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Seeds in a row until the time is up or one fails; each seed's output in $(BUILD)/e2e-long/.
e2e-long: deps
	$(MAKE) build
	@mkdir -p $(BUILD)/e2e-long; start=$$(date +%s); seed=$(E2E_FIRST_SEED); passed=0; \
	while [ $$(( $$(date +%s) - start )) -lt $(E2E_SECONDS) ] && \
		{ [ $(E2E_SEEDS) -eq 0 ] || [ $$passed -lt $(E2E_SEEDS) ]; }; do \
		pids=""; for j in $$(seq 1 $(E2E_JOBS)); do \
			HARBEK_MODEL_SEED=$$seed $(BUILD)/tests/e2e/e2e_model > $(BUILD)/e2e-long/seed_$$seed.log 2>&1 & \
			pids="$$pids $$!:$$seed"; seed=$$((seed + 1)); \
		done; \
		for p in $$pids; do \
			if wait $${p%%:*}; then passed=$$((passed + 1)); \
			else echo "seed $${p##*:} failed: $(BUILD)/e2e-long/seed_$${p##*:}.log; HARBEK_MODEL_SEED=$${p##*:} replays it"; \
				grep -A2 Failure $(BUILD)/e2e-long/seed_$${p##*:}.log; failed=1; fi; \
		done; \
		[ -z "$$failed" ] || { echo "$$passed seeds passed before the failure"; exit 1; }; \
	done; \
	echo "$$passed seeds in a row passed in $$(( $$(date +%s) - start )) s"

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHARBEK_SANITIZE=ON -DHARBEK_BENCH=OFF $(CMAKE_FLAGS)

asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS)

$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHARBEK_FUZZ=ON $(CMAKE_FLAGS)

# Each fuzz target runs for FUZZ_SECONDS (or its own limit) from its seed corpus.
fuzz: deps
	@if [ ! -f fuzz/CMakeLists.txt ]; then echo "no fuzz targets yet"; exit 0; fi; \
	$(MAKE) $(FUZZ_BUILD)/build.ninja && cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all && \
	for t in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
		[ -x "$$t" ] || continue; name=$$(basename $$t); \
		secs=$$(awk -v n=$$name '$$1 == n {print $$2}' $(FUZZ_BUILD)/fuzz/limits.txt); \
		[ -n "$$secs" ] && [ "$$secs" != - ] || secs=$(FUZZ_SECONDS); \
		flags=$$(awk -v n=$$name '$$1 == n {$$1 = $$2 = ""; print}' $(FUZZ_BUILD)/fuzz/limits.txt); \
		mkdir -p fuzz/corpus-run/$$name; \
		seeds=""; [ -d fuzz/corpus/$$name ] && seeds=fuzz/corpus/$$name; \
		echo "== $$name for $$secs s"; \
		$$t -max_total_time=$$secs -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 $$flags \
			fuzz/corpus-run/$$name $$seeds 2>&1 | tail -n 25; \
		[ "$${PIPESTATUS[0]}" = 0 ] || exit 1; \
	done

bench: deps
	$(MAKE) build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && $$b; done; true

demo: deps
	$(MAKE) build
	./tools/demo.sh $(BUILD) $(RECSIM)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

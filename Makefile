# Two commands do everything on a fresh Debian 12 machine: `make demo` and `make test`; `make install`
# and `make package` put the program in place.

SHELL := /bin/bash

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
# Most tests wait on the recorder, the display or a timer: more of them than cores keep the cores busy.
# The long ones (tests/resources.json) take only so many of these places, so the short ones run beside them.
TEST_JOBS  ?= $(shell echo $$(( 5 * $$(nproc) / 2 )))
# The sanitizer's tests use more of a core each.
ASAN_TEST_JOBS ?= $(shell echo $$(( 3 * $$(nproc) / 2 )))
# The seeded models walk again what the roads and the page tests walk once; under the sanitizer they
# cost more than CI's time allows.
ASAN_LEAVE_OUT ?= ModelSession|SetupModel
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

# What building and running the program needs; make demo, make install and make package install only these.
RUN_PACKAGES := build-essential cmake ninja-build pkg-config file \
	qt6-base-dev libgl-dev libjpeg62-turbo-dev libsqlite3-dev libspandsp-dev libasound2-dev libblkid-dev
# Fonts the forms' families map to, with Japanese and Korean glyphs.
RUN_PACKAGES += fonts-dejavu-core fonts-liberation fonts-ipafont-gothic fonts-nanum
# The map window: the browser engine and the map library its page loads; showing a folder.
RUN_PACKAGES += qt6-webengine-dev libjs-leaflet xdg-utils
# The toolkit's own texts (standard buttons, file dialogs) in Japanese, Korean and Spanish.
RUN_PACKAGES += qt6-translations-l10n
# What the tests, the sanitizer and fuzz runs and the benchmarks add.
TEST_PACKAGES := git clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev \
	locales python3
# URW's look-alikes of the forms' faces, as many desktops have them, so the tests see that the map's
# choice ignores them.
TEST_PACKAGES += fonts-urw-base35
# The real display of the end-to-end tests: the X server, its pointer and keyboard, its pictures and the
# windows' properties.
TEST_PACKAGES += xvfb xauth xdotool imagemagick x11-utils
# The end-to-end roads' own requests to the X server, as a window manager sends them.
TEST_PACKAGES += libx11-dev
# The recorder disk's file system and the time zones its tests need; the checkers of the installed
# desktop entry and metainfo.
TEST_PACKAGES += e2fsprogs tzdata desktop-file-utils appstream
DEB_PACKAGES := $(RUN_PACKAGES) $(TEST_PACKAGES)
# Where make install puts the program (DESTDIR is put before it, for staging).
PREFIX ?= /usr/local

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps deps-run build test e2e-long asan fuzz demo install package bench format clean

all: build

# Installs the packages of $(1) that are missing.
define install-missing
	@missing=""; \
	for p in $(1); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -q && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing || exit 1; \
	fi
endef

deps-run:
	$(call install-missing,$(RUN_PACKAGES))

deps:
	$(call install-missing,$(DEB_PACKAGES))
	@if ! locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$$'; then \
		echo "Generating the es_ES.UTF-8 locale (decimal-comma tests)"; \
		$(SUDO) localedef -i es_ES -c -f UTF-8 es_ES.UTF-8 || true; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# A tree first configured without GoogleTest (make demo) is configured again to add the tests. The test
# programs' heaps go into huge pages where the kernel offers them: two thousand programs each start the
# toolkit and its windows, and page faults were a seventh of their processor time. The short tests run at a
# lower priority than the long ones, whose end is the run's end.
test: deps
	@[ ! -f $(BUILD)/build.ninja ] || [ -f $(BUILD)/tests/CTestTestfile.cmake ] || cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	$(MAKE) build
	cd $(BUILD) && GLIBC_TUNABLES=glibc.malloc.hugetlb=1 HARBEK_SHORT_TEST_NICE=5 \
		ctest --output-on-failure -j $(TEST_JOBS) --resource-spec-file $(CURDIR)/tests/resources.json

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
		ctest --output-on-failure -j $(ASAN_TEST_JOBS) -E '$(ASAN_LEAVE_OUT)'

$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHARBEK_FUZZ=ON $(CMAKE_FLAGS)

# Each fuzz target runs for FUZZ_SECONDS (or its own limit) from its seed corpus, JOBS at a time.
fuzz: deps
	@if [ ! -f fuzz/CMakeLists.txt ]; then echo "no fuzz targets yet"; exit 0; fi; \
	$(MAKE) $(FUZZ_BUILD)/build.ninja && cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all && \
	./fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(JOBS)

bench: deps
	$(MAKE) build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && $$b; done; true

# Only the client (with its skins, icon and map page) and the simulated recorder.
demo: deps-run $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target harbek recsim
	./tools/demo.sh $(BUILD) $(RECSIM)

# The program into $(DESTDIR)$(PREFIX): bin/harbek, share/harbek/, lib/harbek/, the desktop entry, icons,
# metainfo and man page (cmake/HarbekInstall.cmake).
install: deps-run $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target harbek
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian packages harbek and harbek-map in $(BUILD)/packages/.
package: deps-run $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target harbek
	cd $(BUILD) && cpack
	@ls -1 $(BUILD)/packages/*.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

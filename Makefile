# The two commands a player or developer needs: `make run` and `make test`.
# Each installs any missing Debian package first, then builds with CMake.
# Hardening: `make fuzz`, `make test-sanitize` and `make soak` (below).

BUILD := build
FUZZ_BUILD := build-fuzz
SANITIZE_BUILD := build-sanitize
BENCH_BUILD := build-bench
WINDOWS_BUILD := build-windows
PACKAGES := cmake g++ make pkg-config liballegro4-dev libgtest-dev xvfb xdotool x11-apps \
	xauth x11-utils libx11-dev clang libclang-rt-14-dev libbenchmark-dev \
	libcpp-httplib-dev libsqlite3-dev libpq-dev postgresql libcurl4-openssl-dev
# The Windows build: the cross compiler, what fetches and patches the library's
# source, what packs the icon, and Wine to run the result.
WINDOWS_PACKAGES := cmake make patch debian-archive-keyring g++-mingw-w64-x86-64 \
	mingw-w64-tools icoutils wine wine64
# The browser build: Emscripten, the library's source fetched as for Windows,
# and the three engines to test the page in: Chromium, Firefox, and WebKit's
# MiniBrowser with its WebDriver on an Xvfb (without the recommends, which
# bring systemd), with GStreamer's stand-in sound sink for a machine that has
# no sound device.
WEB_BUILD := build-web
WEB_PACKAGES := cmake make patch debian-archive-keyring emscripten
WEB_TEST_PACKAGES := chromium firefox-esr xvfb
WEB_TEST_BARE_PACKAGES := webkit2gtk-driver gstreamer1.0-plugins-bad
# Debian's emcc runs its JavaScript tools with the machine's node, which looks
# for their modules here only when told.
WEB_ENV := NODE_PATH=/usr/share/nodejs
WEB_PORT ?= 8080
JOBS := $(shell nproc 2>/dev/null || echo 2)
FUZZ_TARGETS := settings save data high_scores replay board_request
# The Debian package: built from a copy of the source tree inside build-deb/, since
# dpkg-buildpackage leaves its results beside the tree it builds. It is built again
# whenever a file of the tree changes, or one comes or goes.
DEB_BUILD := build-deb
DEB_PACKAGES := debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils man-db
DEB_VERSION := $(shell head -n 1 debian/changelog | cut -d'(' -f 2 | cut -d')' -f 1)
DEB_FILE := $(DEB_BUILD)/tarvellion_$(DEB_VERSION)_$(shell dpkg --print-architecture).deb
DEB_SOURCES := $(shell git ls-files --cached --others --exclude-standard 2>/dev/null | \
	while read -r f; do [ -f "$$f" ] && echo "$$f"; done)

.PHONY: deps build run test assets sheet clean fuzz-build fuzz test-sanitize soak bench \
	bench-window install uninstall windows-allegro windows deb deb-deps screenshots web \
	web-test-deps serve-web bench-web board bench-board FORCE

deps:
	@tools/install-deps $(PACKAGES)

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The world board's server alone: build/tarvellion-board.
board: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target tarvellion-board

run: build
	cd data && ../$(BUILD)/tarvellion

# The game's tests (the soak, the package's and the Windows build's played under
# Wine among them), then a short fuzz run of each target.
test: build fuzz-build deb windows web web-test-deps
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS)

# The game and its fuzz targets, built with clang and libFuzzer.
fuzz-build: deps
	@CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DTARVELLION_FUZZ=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Five minutes of each fuzz target, side by side. Each grows a copy of its
# seed corpus in build-fuzz/<target>-long/corpus; an input that fails lands
# there as crash-* (make it a regular test, fix the game, add it to the seeds).
fuzz: fuzz-build
	@pids=""; for t in $(FUZZ_TARGETS); do \
		tests/fuzz/run-fuzz.sh $(FUZZ_BUILD)/tests/fuzz/$${t}_fuzz tests/fuzz/corpus/$$t \
			$(FUZZ_BUILD)/$$t-long 300 > $(FUZZ_BUILD)/$$t-long.log 2>&1 & pids="$$pids $$!"; \
	done; status=0; for p in $$pids; do wait $$p || status=1; done; \
	for t in $(FUZZ_TARGETS); do echo "$$t:"; grep -E "^stat::|FAILED|ERROR|Test unit" \
		$(FUZZ_BUILD)/$$t-long.log; done; exit $$status

# Every test, under AddressSanitizer (leaks included) and UBSan; the first
# report stops the run. The suppressions file says which leak is on purpose.
# The window tests give the slowed game three times as long for each wait. The
# package's tests and the Windows game's are left out: neither is a sanitizer build.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DTARVELLION_SANITIZE=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && \
		ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 TARVELLION_TEST_SLOWDOWN=3 \
		ctest --output-on-failure --stop-on-failure -j $(JOBS) -LE 'package|windows|web'

# The soak ten times as long as in `make test`, in the default window; then the
# autopilot through twenty thousand games of the core alone.
soak: build
	$(BUILD)/tests/soak/soak 2000000
	$(BUILD)/tools/autopilot soak 20000

# build-deb/tarvellion_<version>_<arch>.deb and tarvellion-board_<version>_<arch>.deb, as
# `dpkg-buildpackage -us -uc -b` makes them from a clean tree: a fresh copy of the tracked
# files and any new ones not ignored.
deb-deps:
	@tools/install-deps $(DEB_PACKAGES) cmake g++ make pkg-config liballegro4-dev libx11-dev \
		libcurl4-openssl-dev libcpp-httplib-dev libsqlite3-dev libpq-dev libssl-dev

deb: deb-deps
	@$(MAKE) --no-print-directory $(DEB_FILE)

$(DEB_BUILD)/sources.txt: FORCE
	@mkdir -p $(DEB_BUILD)
	@printf '%s\n' $(DEB_SOURCES) > $@.new
	@if cmp -s $@.new $@; then rm $@.new; else mv $@.new $@; fi

$(DEB_FILE): $(DEB_BUILD)/sources.txt $(DEB_SOURCES)
	@rm -rf $(DEB_BUILD)/tarvellion && mkdir -p $(DEB_BUILD)/tarvellion
	@tr '\n' '\0' < $(DEB_BUILD)/sources.txt | xargs -0 cp --parents -t $(DEB_BUILD)/tarvellion
	cd $(DEB_BUILD)/tarvellion && DEB_BUILD_OPTIONS="parallel=$(JOBS)" \
		dpkg-buildpackage -us -uc -b > ../dpkg-buildpackage.log 2>&1 || \
		{ tail -40 ../dpkg-buildpackage.log; exit 1; }
	@ls -l $@

FORCE:

# The menu, a level in play and the game-over picture, played in a real window on
# Xvfb, into dist/screenshots/.
screenshots: build
	@tools/install-deps imagemagick
	@mkdir -p dist/screenshots
	$(BUILD)/tests/window/take_screenshots dist/screenshots

# Installs the game under PREFIX (run as root for /usr/local); `tarvellion` then starts
# it. `make uninstall` removes what the last install from $(BUILD) put there.
PREFIX ?= /usr/local

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "no install from $(BUILD) to undo"; exit 1; }
	xargs -d '\n' rm -f < $(BUILD)/install_manifest.txt
	sed -n 's|/tarvellion/[^/]*$$|/tarvellion|p' $(BUILD)/install_manifest.txt | sort -u | \
		xargs -r -d '\n' rmdir --ignore-fail-on-non-empty
	rm $(BUILD)/install_manifest.txt

# Regenerates every picture, sound and the music in data/.
assets: build
	$(BUILD)/tools/make_assets data

# Every picture of the game on one sheet, to look at the art.
sheet: build
	$(BUILD)/tools/contact_sheet data $(BUILD)/contact-sheet.bmp

# Headless benchmarks of a frame (beside a memcpy of its size), the rules and a
# whole pass, in an optimised build of their own: five runs each, with medians.
bench: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target tarvellion_bench
	$(BENCH_BUILD)/bench/tarvellion_bench --benchmark_repetitions=5 \
		--benchmark_report_aggregates_only=true

# The world board under load on loopback, in the benchmarks' build: 2,000 genuine games of
# 1 to 10 minutes sent by 16 clients at once, the board read by 16, every answered game
# looked for after a restart and after a SIGKILL in mid-run, and the core's check of an
# hour of play; against SQLite, then a PostgreSQL server of its own. About 3 minutes.
bench-board: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target tarvellion-board board_bench
	$(BENCH_BUILD)/bench/board_bench $(BENCH_BUILD)/tarvellion-board

# The game played in a real window on a 3840x2160 Xvfb, 10 s per case at DELAY
# 30 and 5: 640x480 and 1920x1080 at scale 1, 640x480 at scale 3 and in
# fullscreen, and the Windows build under Wine at 640x480, three times: passes
# per second, pass time, frame rhythm, processor share and start-up time, with
# the medians of the runs; then the processor share of the screens between levels.
bench-window: deps windows
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target tarvellion bench_save
	WINDOWS_ZIP=$(lastword $(sort $(wildcard $(WINDOWS_BUILD)/tarvellion-*-win64.zip))) \
		bench/window-bench.sh $(BENCH_BUILD)/tarvellion $(BENCH_BUILD)/bench/bench_save

# The Windows build tree: Allegro cross-built into it the first time (about three
# minutes; cmake/windows/), then the game configured against it.
windows-allegro:
	@tools/install-deps $(WINDOWS_PACKAGES)
	@cmake -S . -B $(WINDOWS_BUILD) --log-level=WARNING \
		-DCMAKE_TOOLCHAIN_FILE=cmake/windows/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=Release

# build-windows/tarvellion-<version>-win64.zip: tarvellion.exe with its icon and
# version, the data files and README.txt. The library is built only the first time.
windows: windows-allegro
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@ls -l $(WINDOWS_BUILD)/tarvellion-*-win64.zip

# build-web/tarvellion-<version>-web.zip: the page, tarvellion.js, .wasm and .data,
# for any static web server (build-web/site/ holds the same, unpacked). The library
# is compiled only the first time. The page sends games to the world board at
# BOARD (`make web BOARD=https://...`), else to its own site's /api/ when that
# answers as a board.
BOARD ?= .
web:
	@tools/install-deps $(WEB_PACKAGES)
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) --log-level=WARNING \
		-DCMAKE_BUILD_TYPE=Release -DTARVELLION_BOARD=$(BOARD) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)
	@ls -l $(WEB_BUILD)/tarvellion-*-web.zip

# The browser tests' engines, and puppeteer-core (pinned by tests/web's lock
# file) in $(BUILD)/web-node to drive Chromium and Firefox.
web-test-deps: build
	@tools/install-deps $(WEB_TEST_PACKAGES)
	@tools/install-deps --no-install-recommends $(WEB_TEST_BARE_PACKAGES)
	@cmp -s tests/web/package-lock.json $(BUILD)/web-node/package-lock.json || { \
		mkdir -p $(BUILD)/web-node && \
		cp tests/web/package.json tests/web/package-lock.json $(BUILD)/web-node/ && \
		npm ci --prefix $(BUILD)/web-node --no-audit --no-fund --silent; }

# The browser build in Chromium, Firefox and WebKit, three runs each, then the
# desktop game in a window of the same scale: download sizes, the time to the
# menu's first frame, frame periods, the browsers' processor share in the still
# menu and in play, against the desktop game's.
bench-web: web web-test-deps
	node bench/web-bench.mjs $(WEB_BUILD)/tarvellion-*-web.zip $(BUILD)/web-node \
		$(BUILD)/tarvellion $(BUILD)/bench/bench_save

# Plays the browser build from http://127.0.0.1:$(WEB_PORT)/ until Ctrl+C, with a world
# board of its own under /api/ on the same address (its games in build-web/board.sqlite).
serve-web: web board
	@echo "Tarvellion is served at http://127.0.0.1:$(WEB_PORT)/"
	$(BUILD)/tarvellion-board --db $(WEB_BUILD)/board.sqlite --listen 127.0.0.1:$(WEB_PORT) \
		--site $(WEB_BUILD)/site

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD) $(BENCH_BUILD) $(WINDOWS_BUILD) $(DEB_BUILD) \
		$(WEB_BUILD)

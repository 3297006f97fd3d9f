# The README's commands: `make run` sets up, builds and starts the game; `make test` sets up
# and runs every test, under a virtual display when there is none.
BUILD := build
SANBUILD := build-sanitize
DEBBUILD := build-deb
VERSION := $(shell sed -n 's/^project(kavrin_chess VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
JOBS ?= $(shell nproc)
# A random first display number keeps concurrent runs on one machine off each other's server.
# -noreset keeps the server up between test programs: by default it resets when its last
# client leaves, and a program connecting during that reset is refused.
XVFB = xvfb-run -a -n $$(shuf -i 100-899 -n 1) -s "-screen 0 1280x1024x24 -noreset"
# Commands that open a window run as they are on a display, under the virtual one without.
HEADLESS = $(if $(DISPLAY),,$(XVFB))

.PHONY: all build deps test-deps deb-deps run test fuzz install deb deb-check screenshots clean

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --test

deb-deps:
	@scripts/install-deps --deb

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD)/data && ../kavrin-chess

sanitize-build: test-deps
	@CC=clang CXX=clang++ cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DKAVRIN_SANITIZE=ON \
		-DKAVRIN_GAME_DATA=$(abspath $(BUILD))/data >/dev/null
	@cmake --build $(SANBUILD) -j$(JOBS)

# The tests that need no display run side by side; the window tests share one X server and
# the pointer, so they run one at a time.
RUN_TESTS = sh -c 'ctest --output-on-failure -L unit -j$(JOBS) && ctest --output-on-failure -L display'

# The fuzz targets run in two halves side by side, each building and running its own on one core.
test: test-deps build sanitize-build
	@cd $(BUILD) && $(HEADLESS) $(RUN_TESTS)
	@cd $(SANBUILD) && $(HEADLESS) $(RUN_TESTS)
	@mkdir -p build-fuzz
	@export FUZZ_SECONDS=$${FUZZ_SECONDS:-3}; \
		fuzz/run.sh config model > build-fuzz/run-1.log 2>&1 & first=$$!; \
		fuzz/run.sh dib jpeg > build-fuzz/run-2.log 2>&1; second=$$?; \
		wait $$first && [ $$second -eq 0 ] \
		|| { tail -n 40 build-fuzz/run-*.log; echo "fuzzing found a fault"; exit 1; }
	@echo "fuzz targets ran clean"

# Each fuzz target for FUZZ_SECONDS (default 60).
fuzz: test-deps
	@fuzz/run.sh

# Installs under PREFIX (default /usr/local): the launcher in bin, the game and its data.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, built from a copy of the tree in $(DEBBUILD): dpkg-buildpackage writes
# the package beside the source folder, and the tree itself stays clean.
deb: deb-deps
	@rm -rf $(DEBBUILD)
	@mkdir -p $(DEBBUILD)/kavrin-chess-$(VERSION)
	@tar -cf - --exclude=./.git --exclude='./build*' . | tar -xf - -C $(DEBBUILD)/kavrin-chess-$(VERSION)
	@cd $(DEBBUILD)/kavrin-chess-$(VERSION) && dpkg-buildpackage -us -uc -b -j$(JOBS) \
		> ../build.log 2>&1 || { tail -n 40 ../build.log; echo "the package build failed"; exit 1; }
	@ls $(DEBBUILD)/kavrin-chess_$(VERSION)_*.deb

# Checks the package: lintian, its files against the layout, and the unpacked game started
# and closed by its window's close button.
deb-check: deb
	@$(HEADLESS) tests/packaging/deb_check.sh $(DEBBUILD)/kavrin-chess_$(VERSION)_*.deb

# The README's pictures, taken from the real binary under a virtual display.
screenshots: test-deps build
	@rm -rf $(BUILD)/screenshots
	@SCREENSHOTS=$(abspath $(BUILD))/screenshots $(XVFB) tests/game/game_test.sh \
		$(abspath $(BUILD))/kavrin-chess $(abspath $(BUILD))/chessprobe
	@mkdir -p docs
	@convert $(BUILD)/screenshots/answer-to-e4.png -crop 1024x768+0+0 -resize 640x480 \
		-strip docs/screenshot.png
	@echo "docs/screenshot.png: $$(stat -c %s docs/screenshot.png) bytes"

clean:
	rm -rf $(BUILD) $(SANBUILD) $(DEBBUILD) build-fuzz

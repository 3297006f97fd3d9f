# The README's commands: `make run` sets up, builds and starts the game; `make test` sets up
# and runs every test, under a virtual display when there is none.
BUILD := build
SANBUILD := build-sanitize
JOBS ?= $(shell nproc)
# A random first display number keeps concurrent runs on one machine off each other's server.
# -noreset keeps the server up between test programs: by default it resets when its last
# client leaves, and a program connecting during that reset is refused.
XVFB = xvfb-run -a -n $$(shuf -i 100-899 -n 1) -s "-screen 0 1280x1024x24 -noreset"

.PHONY: all build deps test-deps run test fuzz install screenshots clean

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --test

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD)/data && ../kavrin-chess

sanitize-build: test-deps
	@CC=clang CXX=clang++ cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DKAVRIN_SANITIZE=ON \
		-DKAVRIN_GAME_DATA=$(abspath $(BUILD))/data >/dev/null
	@cmake --build $(SANBUILD) -j$(JOBS)

test: test-deps build sanitize-build
	@if [ -n "$$DISPLAY" ]; then \
		cd $(BUILD) && ctest --output-on-failure; \
	else \
		cd $(BUILD) && $(XVFB) ctest --output-on-failure; \
	fi
	@if [ -n "$$DISPLAY" ]; then \
		cd $(SANBUILD) && ctest --output-on-failure; \
	else \
		cd $(SANBUILD) && $(XVFB) ctest --output-on-failure; \
	fi
	@mkdir -p build-fuzz
	@FUZZ_SECONDS=$${FUZZ_SECONDS:-3} fuzz/run.sh > build-fuzz/run.log 2>&1 \
		|| { tail -n 40 build-fuzz/run.log; echo "fuzzing found a fault"; exit 1; }
	@echo "fuzz targets ran clean"

# Each fuzz target for FUZZ_SECONDS (default 60).
fuzz: test-deps
	@fuzz/run.sh

# Installs under PREFIX (default /usr/local): the launcher in bin, the game and its data.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The README's pictures, taken from the real binary under a virtual display.
screenshots: test-deps build
	@rm -rf $(BUILD)/screenshots
	@SCREENSHOTS=$(abspath $(BUILD))/screenshots $(XVFB) tests/game/game_test.sh \
		$(BUILD)/kavrin-chess $(BUILD)/chessprobe
	@mkdir -p docs
	@convert $(BUILD)/screenshots/answer-to-e4.png -crop 1024x768+0+0 -resize 640x480 \
		-strip docs/screenshot.png
	@echo "docs/screenshot.png: $$(stat -c %s docs/screenshot.png) bytes"

clean:
	rm -rf $(BUILD) $(SANBUILD) build-fuzz

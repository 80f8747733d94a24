# make run:     install what is missing, build, start the game.
# make test:    install what is missing, build, run every test.
# make install: build the game and install it under PREFIX (/usr/local),
#               staged under DESTDIR when that is set.
# make package: build a Debian package, build-package/quorvex_*.deb.
# make fuzz:    run each fuzz target for FUZZ_SECONDS (default 60).
# make soak:    an hour of game time on the sanitizer build, then random play
#               of the real game in a virtual X server.
# make bench:   the benchmarks; make measure-startup: start-up time and memory.

JOBS ?= 2
FUZZ_SECONDS ?= 60
SOAK_SECONDS ?= 3600
PLAY_SECONDS ?= 180
BUILD := build
DEBUG_BUILD := build-debug
PACKAGE_BUILD := build-package
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps build run debug-build test fuzz soak bench measure-startup install package format clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF
	cmake --build $(BUILD) -j$(JOBS) --target quorvex quorvex_documents

run: build
	./$(BUILD)/quorvex

# Unit and whole-game tests run in a debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer; the real-window test drives the release game.
debug-build: build
	cmake -S . -B $(DEBUG_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON \
		-DQUORVEX_BENCH=OFF -DQUORVEX_E2E_EXE=$(CURDIR)/$(BUILD)/quorvex
	cmake --build $(DEBUG_BUILD) -j$(JOBS)

test: debug-build
	cd $(DEBUG_BUILD) && ctest --output-on-failure -j$(JOBS)
	FUZZ_SECONDS=3 FUZZ_IF_CLANG=1 JOBS=$(JOBS) sh scripts/fuzz.sh

fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) sh scripts/fuzz.sh

# SOAK_SECONDS of game time on the headless backend (the test suite plays a
# short stretch of the same), then PLAY_SECONDS of random keys in a real
# window for the release build and again for the sanitizer build.
soak: debug-build
	QUORVEX_SOAK_SECONDS=$(SOAK_SECONDS) ./$(DEBUG_BUILD)/tests/quorvex_tests --gtest_filter='Soak.*'
	tests/e2e/random_play.sh $(BUILD)/quorvex $(PLAY_SECONDS)
	tests/e2e/random_play.sh $(DEBUG_BUILD)/quorvex $(PLAY_SECONDS)

# The frame benchmark draws in a real window: on the display when there is
# one, else in a virtual X server of its own with software OpenGL; it is
# skipped when neither can be had.
bench: build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target quorvex_bench quorvex_frame_bench
	./$(BUILD)/bench/quorvex_bench
	if [ -n "$$DISPLAY" ]; then ./$(BUILD)/bench/quorvex_frame_bench; \
	else status=0; scripts/with_xvfb.sh ./$(BUILD)/bench/quorvex_frame_bench || status=$$?; \
		[ $$status -eq 0 ] || [ $$status -eq 77 ]; fi

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Built afresh with Debian's build flags and all its hardening, like any
# package of the distribution. CMake reads no CPPFLAGS, so they go along
# with the compiler flags.
package: deps
	rm -rf $(PACKAGE_BUILD)
	eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)" && \
		CFLAGS="$$CFLAGS $$CPPFLAGS" CXXFLAGS="$$CXXFLAGS $$CPPFLAGS" \
		cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF \
			-DQUORVEX_BENCH=OFF
	cmake --build $(PACKAGE_BUILD) -j$(JOBS) --target quorvex quorvex_documents
	cd $(PACKAGE_BUILD) && cpack -G DEB

# Exec to title and memory in play against a bare SDL2 + OpenGL window, in Xvfb.
measure-startup: build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target quorvex_bare_window quorvex_swap_clock
	scripts/measure_startup.sh $(BUILD) $(BUILD)/quorvex

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(DEBUG_BUILD) $(PACKAGE_BUILD) build-fuzz

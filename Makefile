# make run:  install what is missing, build, start the game.
# make test: install what is missing, build, run every test.

JOBS ?= 2
BUILD := build
DEBUG_BUILD := build-debug

.PHONY: all deps build run test bench measure-startup format clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF
	cmake --build $(BUILD) -j$(JOBS) --target quorvex

run: build
	./$(BUILD)/quorvex

# Unit and whole-game tests run in a debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer; the real-window test drives the release game.
test: build
	cmake -S . -B $(DEBUG_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON \
		-DQUORVEX_BENCH=OFF -DQUORVEX_E2E_EXE=$(CURDIR)/$(BUILD)/quorvex
	cmake --build $(DEBUG_BUILD) -j$(JOBS)
	cd $(DEBUG_BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target quorvex_bench
	./$(BUILD)/bench/quorvex_bench

# Exec to title and memory in play against a bare SDL2 + OpenGL window, in Xvfb.
measure-startup: build
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS) --target quorvex_bare_window quorvex_swap_clock
	scripts/measure_startup.sh $(BUILD) $(BUILD)/quorvex

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(DEBUG_BUILD)

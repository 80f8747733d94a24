# make run:  install what is missing, build, start the game.
# make test: install what is missing, build, run every test.

JOBS ?= 2
BUILD := build
DEBUG_BUILD := build-debug

.PHONY: all deps build run test bench format clean

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(DEBUG_BUILD)

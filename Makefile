# The two commands a player or developer needs: `make run` and `make test`.
# Each installs any missing Debian package first, then builds with CMake.

BUILD := build
PACKAGES := cmake g++ make pkg-config liballegro4-dev libgtest-dev xvfb xdotool x11-apps \
	xauth x11-utils libx11-dev
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps build run test assets sheet clean

deps:
	@tools/install-deps $(PACKAGES)

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd data && ../$(BUILD)/tarvellion

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Regenerates every picture, sound and the music in data/.
assets: build
	$(BUILD)/tools/make_assets data

# Every picture of the game on one sheet, to look at the art.
sheet: build
	$(BUILD)/tools/contact_sheet data $(BUILD)/contact-sheet.bmp

clean:
	rm -rf $(BUILD)

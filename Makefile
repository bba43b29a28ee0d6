# The commands a person types. Every target installs what it needs first.
BUILD   ?= build
TYPE    ?= RelWithDebInfo
WERROR  ?= OFF
JOBS    ?= $(shell nproc)
PACKAGES = build-essential cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test bench clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) -DPLX_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the gateway in the current folder: that folder holds its files.
run: build
	./$(BUILD)/plyxen400

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

# Speed against the raw limits of this machine, with an optimised build.
bench:
	$(MAKE) build BUILD=build-release TYPE=Release
	./build-release/bench/display_bench

clean:
	rm -rf $(BUILD)

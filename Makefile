# The commands a person types. Every target installs what it needs first.
# Paths are relative to this file, so `make -f /path/to/Makefile run` works from any folder.
ROOT    := $(patsubst %/,%,$(dir $(abspath $(lastword $(MAKEFILE_LIST)))))
BUILD   ?= $(ROOT)/build
TYPE    ?= RelWithDebInfo
WERROR  ?= OFF
JOBS    ?= $(shell nproc)
PACKAGES = build-essential cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev \
          libqt6svg6 openssl \
          libmicrohttpd-dev qt6-websockets-dev
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test clean

# deps: the Debian packages named in PACKAGES (plus EXTRA_PACKAGES) that are missing.
deps:
	@$(ROOT)/scripts/need-packages.sh $(PACKAGES) $(EXTRA_PACKAGES)

configure: deps
	cmake -S $(ROOT) -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) -DPLX_WERROR=$(WERROR) $(CMAKE_OPTIONS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the gateway in the folder make was started from: that folder holds its files.
run: build
	$(BUILD)/plyxen400

# The real-browser test of the web console needs a browser and its driver; the pair's
# failover test keepalived, lsyncd, rsync and curl; the monitoring tests Prometheus, its
# promtool and the blackbox exporter.
test: EXTRA_PACKAGES += chromium chromium-driver python3-selenium keepalived lsyncd rsync curl \
                        prometheus prometheus-blackbox-exporter
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 300

clean:
	rm -rf $(BUILD)

# Further targets (demo, bench, fuzz, install, ...) live beside this file, one file each.
include $(wildcard $(ROOT)/mk/*.mk)

.PHONY: soak

# Memory over a long run, never part of the test suite: the gateway under host traffic for
# SOAK_MINUTES, its resident memory printed every minute.
SOAK_MINUTES       ?= 30
SOAK_FRAMES_PER_MS ?= 2
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target plyxen400 soak_bench
	$(BUILD)/bench/soak_bench $(SOAK_MINUTES) $(SOAK_FRAMES_PER_MS)

.PHONY: wall wall-screenshot

# The LED terminal wall, in the folder make was started from (its Products.cfg, if any).
wall: build
	$(BUILD)/plyxen400-terminal-wall $(WALL_OPTIONS)

# docs/terminal-wall.png: the wall under Xvfb, with a few frames sent to it on loopback.
wall-screenshot: build
	$(ROOT)/scripts/wall-screenshot.sh -x $(BUILD)/plyxen400-terminal-wall -o $(ROOT)/docs/terminal-wall.png

.PHONY: demo

DEMO_DIR  ?= $(BUILD)/demo
DEMO_PORT ?= 2323
DEMO_TLS  ?=
DEMO_WEB_PORT ?= 8400

# The gateway with our AS/400 simulator and a wall of LED terminals, on loopback only;
# DEMO_TLS=1 runs the host link over TLS.
demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target plyxen400 plyxen400-as400-sim plyxen400-terminal-wall \
	  plyxen400-replay
	$(ROOT)/scripts/demo.sh -b $(BUILD) -d $(DEMO_DIR) -p $(DEMO_PORT) -w $(DEMO_WEB_PORT) $(if $(DEMO_TLS),-t)

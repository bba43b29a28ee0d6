.PHONY: bench

# Speed against the raw limits of this machine, with an optimised build. The gateway
# executable runs headless against the scripted host and loopback terminals; each figure is
# the median of BENCH_RUNS runs, beside its raw limit measured in the same run.
# BENCH_ARGS=--no-million skips the million-frame memory run (about a minute or two). The
# gateway's figures run on a virtual X display with a window manager, for the latency with
# the windows shown; without one that figure is skipped, and said so.
BENCH_RUNS ?= 5
BENCH_ARGS ?=
BENCH_GATEWAY ?= $(ROOT)/build-release/plyxen400
bench:
	$(MAKE) -f $(ROOT)/Makefile build BUILD=$(ROOT)/build-release TYPE=Release
	$(ROOT)/build-release/bench/display_bench
	$(ROOT)/scripts/with-window-manager.sh \
	    $(ROOT)/build-release/bench/gateway_bench --runs $(BENCH_RUNS) $(BENCH_ARGS)
	python3 $(ROOT)/tests/integration/slow_link.py $(BENCH_GATEWAY) --bench || [ $$? = 77 ]

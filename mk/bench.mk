.PHONY: bench

# Speed against the raw limits of this machine, with an optimised build.
bench:
	$(MAKE) -f $(ROOT)/Makefile build BUILD=$(ROOT)/build-release TYPE=Release
	$(ROOT)/build-release/bench/display_bench

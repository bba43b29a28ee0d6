.PHONY: fuzz fuzz-build

# libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, built by clang in a build
# of its own; each target runs FUZZ_SECONDS from its seeds (fuzz/corpus/<target>/), keeping
# what it learns in the build folder and a crashing input under artifacts/.
FUZZ_BUILD    ?= $(ROOT)/build-fuzz
FUZZ_SECONDS  ?= 60
FUZZ_TARGETS   = telnet reception config console
FUZZ_PACKAGES  = clang libclang-rt-14-dev

fuzz-build:
	$(MAKE) -f $(ROOT)/Makefile deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	CXX=clang++ cmake -S $(ROOT) -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPLX_WITH_QT=OFF -DPLX_FUZZ=ON -DBUILD_TESTING=OFF -DPLX_WERROR=$(WERROR)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every target runs even when an earlier one finds something; the summary says which did.
fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/artifacts; failed=""; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -timeout=10 -rss_limit_mb=2048 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- \
	    $(FUZZ_BUILD)/corpus/$$t $(ROOT)/fuzz/corpus/$$t > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1 \
	    || failed="$$failed $$t"; \
	  grep -E "stat::number_of_executed_units|Done [0-9]+ runs|ERROR|property broken" \
	    $(FUZZ_BUILD)/fuzz_$$t.log | head -5; \
	  echo "   corpus: $$(ls $(FUZZ_BUILD)/corpus/$$t | wc -l) inputs"; \
	done; \
	if [ -n "$$failed" ]; then \
	  echo "Findings in:$$failed (logs and inputs in $(FUZZ_BUILD))"; exit 1; \
	fi; echo "No findings."

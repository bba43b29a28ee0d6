.PHONY: test-sanitize

# The whole suite (unit, integration, simulator tests) built with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first finding stops the test that hit it.
SANITIZE_BUILD ?= $(ROOT)/build-sanitize
SANITIZE_FLAGS  = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
# -O1 keeps the instrumented suite fast enough for CI while stack traces stay readable.
SANITIZE_OPT    = -O1 -g

# Exported for the build as well: test discovery runs the test programs at build time.
SANITIZE_ENV = \
  ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
  LSAN_OPTIONS=suppressions=$(ROOT)/tests/sanitizer/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

test-sanitize: deps
	cmake -S $(ROOT) -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$(SANITIZE_OPT)" \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$(SANITIZE_FLAGS)" \
	  -DPLX_WERROR=$(WERROR) $(CMAKE_OPTIONS)
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

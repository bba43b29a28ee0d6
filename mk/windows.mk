.PHONY: test-windows

# The toolkit-free part (every subsystem, the shared helpers, the fake platform and the unit
# tests) cross-built for Windows with Debian's MinGW-w64, the unit tests run under Wine,
# headless, in a Wine prefix of the build's own. Wine takes its ANSI code page from the
# locale LC_ALL names ("C" gives cp1252, a Western Windows's, which the code page tests
# expect), and the encoding of the file names it makes here from that locale's codeset when
# the machine has the locale: C.UTF-8, which every Debian has, lets a test's folder be named
# in any script.
WINDOWS_BUILD    ?= $(ROOT)/build-windows
WINDOWS_PACKAGES  = g++-mingw-w64-x86-64-posix wine wine64 googletest
test-windows:
	$(MAKE) -f $(ROOT)/Makefile deps EXTRA_PACKAGES="$(WINDOWS_PACKAGES)"
	cmake -S $(ROOT) -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-w64-x86_64.cmake -DPLX_WITH_QT=OFF \
	  -DPLX_WERROR=$(WERROR)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && for tests in plx_rules_tests plx_windows_tests; do \
	  WINEPREFIX=$(WINDOWS_BUILD)/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
	  DISPLAY= LC_ALL=C.UTF-8 wine tests/$$tests.exe || exit 1; done
	$(MAKE) -f $(ROOT)/Makefile check-windows-qt

# There is no Qt for Windows among Debian's packages, so the Qt side (the platform's Qt
# implementation and the program) is only compiled for syntax, against the host's Qt headers
# under the Windows compiler: that catches any POSIX call left outside a Windows branch.
QT_HEADERS ?= /usr/include/$(shell dpkg-architecture -qDEB_HOST_MULTIARCH)/qt6
WINDOWS_QT_SOURCES = $(filter-out %_posix.cpp,$(wildcard $(ROOT)/src/platform/qt/*.cpp) \
                                              $(wildcard $(ROOT)/src/app/*.cpp))
# The web console's HTTP library has one portable header; the check takes it from a folder
# of its own, since the rest of /usr/include is this system's.
WINDOWS_HTTP_HEADERS = $(WINDOWS_BUILD)/http-library-include
.PHONY: check-windows-qt
check-windows-qt:
	@mkdir -p $(WINDOWS_HTTP_HEADERS) && cp /usr/include/microhttpd.h $(WINDOWS_HTTP_HEADERS)/
	@for source in $(WINDOWS_QT_SOURCES); do \
	  x86_64-w64-mingw32-g++-posix -std=c++20 -fsyntax-only -Wall -Wextra -Werror -Wno-attributes \
	    -I$(QT_HEADERS) $(addprefix -I$(QT_HEADERS)/,QtCore QtGui QtWidgets QtNetwork) \
	    -I$(WINDOWS_HTTP_HEADERS) -I$(ROOT)/src "$$source" || exit 1; \
	done; echo "The Qt side compiles for Windows: $(words $(WINDOWS_QT_SOURCES)) files"

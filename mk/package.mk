.PHONY: package

# The Debian packages of the gateway and of the demo tools, from an optimised build of
# their own compiled and linked as Debian builds its packages (dpkg-buildflags, all hardening:
# fortify, stack protector, relro, bindnow), then checked by lintian, which must find nothing
# but the overrides the package gives reasons for.
PACKAGE_BUILD ?= $(ROOT)/build-package
PACKAGE_TOOLS  = dpkg-dev lintian
BUILD_FLAGS    = cd $(ROOT) && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
# GCC 12, fortified, takes std::string's own copy of a literal for an overlapping memcpy
# (a false -Wrestrict the compiler's developers have acknowledged); nothing of ours overlaps.
KNOWN_FALSE_WARNINGS = -Wno-restrict
package:
	$(MAKE) -f $(ROOT)/Makefile deps EXTRA_PACKAGES="$(PACKAGE_TOOLS)"
	cmake -S $(ROOT) -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(BUILD_FLAGS) CPPFLAGS) $$($(BUILD_FLAGS) CXXFLAGS) $(KNOWN_FALSE_WARNINGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILD_FLAGS) LDFLAGS)" -DPLX_WERROR=$(WERROR)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && rm -f *.deb && cpack
	lintian --pedantic --display-info --fail-on error,warning,info,pedantic $(PACKAGE_BUILD)/*.deb

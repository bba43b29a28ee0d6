.PHONY: package

# The Debian packages of the gateway and of the demo tools, from an optimised build of
# their own, checked by lintian.
PACKAGE_BUILD ?= $(ROOT)/build-package
PACKAGE_TOOLS  = dpkg-dev lintian
package:
	$(MAKE) -f $(ROOT)/Makefile deps EXTRA_PACKAGES="$(PACKAGE_TOOLS)"
	cmake -S $(ROOT) -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  -DPLX_WERROR=$(WERROR)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && rm -f *.deb && cpack
	lintian --info $(PACKAGE_BUILD)/*.deb

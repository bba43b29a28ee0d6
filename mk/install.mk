.PHONY: install install-demo uninstall

PREFIX ?= /usr/local
# sudo only when the prefix is not ours to write.
AS_OWNER = $$([ -w "$(PREFIX)" ] || [ ! -e "$(PREFIX)" -a -w "$$(dirname "$(PREFIX)")" ] || echo $(SUDO))

# The gateway under PREFIX: the program, its man page and icon, the desktop entry and the
# systemd units (a home prefix such as ~/.local puts the user unit where the user manager
# looks). The demo tools are a separate install; the package is `make package`.
install: build
	$(AS_OWNER) cmake --install $(BUILD) --prefix $(PREFIX) --component gateway

install-demo: build
	$(AS_OWNER) cmake --install $(BUILD) --prefix $(PREFIX) --component demo

# What the installs from this build folder put in place.
uninstall:
	@ls $(BUILD)/install_manifest_*.txt >/dev/null 2>&1 || { echo "nothing installed from $(BUILD)"; exit 1; }
	cat $(BUILD)/install_manifest_*.txt | $(AS_OWNER) xargs -d '\n' rm -f --
	rm -f $(BUILD)/install_manifest_*.txt

.PHONY: install uninstall

PREFIX ?= /usr/local
# sudo only when the prefix is not ours to write.
AS_OWNER = $$([ -w "$(PREFIX)" ] || echo $(SUDO))

# The gateway, the AS/400 simulator and the terminal wall, the desktop entry and the
# systemd user unit, under PREFIX.
install: build
	$(AS_OWNER) cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	$(AS_OWNER) xargs -d '\n' rm -f -- < $(BUILD)/install_manifest.txt

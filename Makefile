# Thin driver around CMake's presets (CMakePresets.json). Each target first
# installs the Debian packages it needs that are missing
# (tools/install-packages, from debian/control and debian/tests/control):
# `run` only what building and running the program needs, the others all.

JOBS := $(shell nproc 2>/dev/null || echo 2)
CI_DIR := build/ci

.PHONY: all packages-run packages-test program run ci-build windows-configured windows test bench package references clean

all: program

packages-run:
	@sh tools/install-packages run

packages-test:
	@sh tools/install-packages test

program: packages-run
	cmake --preset release
	cmake --build --preset release --parallel $(JOBS)

run: program
	build/release/morvantel

# The tests, the benchmarks and the tools, in one build tree, warnings as errors.
ci-build: packages-test
	cmake --preset ci
	cmake --build --preset ci --parallel $(JOBS)

# Qt for Windows, built once into the cache (tools/build-qt-windows), then
# the program for 64-bit Windows, its installer and zip, and its tests, in
# build/windows/. Qt's folder reaches CMake in the same shell as its name.
windows-configured: packages-test
	MORVANTEL_QT_WINDOWS="$$(sh tools/build-qt-windows)" && export MORVANTEL_QT_WINDOWS && \
		cmake --preset windows

windows: windows-configured
	cmake --build --preset windows --parallel $(JOBS)
	cd build/windows && cpack

# The Linux build's tests first, then Qt for Windows (built once, which
# takes a while) and the Windows build's tests under Wine (label windows).
test: ci-build
	ctest --preset ci
	$(MAKE) --no-print-directory windows
	ctest --preset windows

bench: ci-build
	$(CI_DIR)/bench/translate_bench
	sh bench/startup.sh $(CURDIR)/$(CI_DIR)/bench/startup_bench $(CURDIR)/$(CI_DIR)/bench/bare_window \
		$(CURDIR)/$(CI_DIR)/bench/text_window $(CURDIR)/$(CI_DIR)/morvantel
	sh bench/paste.sh $(CURDIR)/$(CI_DIR)/bench/paste_bench

# The Debian source and binary packages, built by dpkg-buildpackage from the
# tracked files of this tree, into build/.
package: packages-test
	sh tools/build-package build

# After an intended change to how a window looks: draws each window anew into
# tests/reference-pictures/, at the design's size and at twice it (a desktop of
# 192 dots per inch), and so does the Windows build, under Wine, into
# tests/reference-pictures/windows/; to be looked at and committed.
references: ci-build windows
	cd $(CI_DIR)/tests && RENEW_REFERENCE_PICTURES=1 QT_QPA_PLATFORM=offscreen \
		./tst_looks windowsMatchReferencePictures
	cd $(CI_DIR)/tests && RENEW_REFERENCE_PICTURES=1 QT_FONT_DPI=192 \
		QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/tests/offscreen-screen.json \
		./tst_looks windowsMatchReferencePictures
	for dpi in 96 192; do RENEW_REFERENCE_PICTURES=1 LOGPIXELS=$$dpi \
		ctest --test-dir build/windows -R '^tst_looks-windows$$' --output-on-failure; done

clean:
	rm -rf build

# Thin driver around CMake's presets (CMakePresets.json). Each target first
# installs the Debian packages it needs that are missing
# (tools/install-packages, from debian/control and debian/tests/control):
# `run` only what building and running the program needs, the others all.

JOBS := $(shell nproc 2>/dev/null || echo 2)
CI_DIR := build/ci

.PHONY: all packages-run packages-test program run ci-build test bench package references clean

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

test: ci-build
	ctest --preset ci

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
# 192 dots per inch), to be looked at and committed.
references: ci-build
	cd $(CI_DIR)/tests && RENEW_REFERENCE_PICTURES=1 QT_QPA_PLATFORM=offscreen \
		./tst_looks windowsMatchReferencePictures
	cd $(CI_DIR)/tests && RENEW_REFERENCE_PICTURES=1 QT_FONT_DPI=192 \
		QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/tests/offscreen-screen.json \
		./tst_looks windowsMatchReferencePictures

clean:
	rm -rf build

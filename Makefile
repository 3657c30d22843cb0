# Thin driver around CMake. Each target first installs the Debian packages it
# needs that are missing (tools/install-packages, from debian/control): `run`
# only what building and running the program needs, the others everything.

BUILD_DIR := build
CMAKE_BUILD_TYPE := Release
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all packages-run packages-test program run tests-configured test bench package references clean

all: program

packages-run:
	@sh tools/install-packages run

packages-test:
	@sh tools/install-packages test

$(BUILD_DIR)/CMakeCache.txt: | packages-run
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE)

program: packages-run $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) --target morvantel --parallel $(JOBS)

run: program
	$(BUILD_DIR)/morvantel

# The tests and benchmarks are built only where asked for; a build tree that
# has them keeps them.
tests-configured: packages-test $(BUILD_DIR)/CMakeCache.txt
	@grep -q '^BUILD_TESTING:BOOL=ON' $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON

test: tests-configured
	cmake --build $(BUILD_DIR) --parallel $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 900

bench: tests-configured
	@grep -q '^MORVANTEL_BENCHMARKS:BOOL=ON' $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DMORVANTEL_BENCHMARKS=ON
	cmake --build $(BUILD_DIR) --parallel $(JOBS)
	$(BUILD_DIR)/bench/translate_bench
	sh bench/startup.sh $(CURDIR)/$(BUILD_DIR)/bench/startup_bench $(CURDIR)/$(BUILD_DIR)/bench/bare_window \
		$(CURDIR)/$(BUILD_DIR)/bench/text_window $(CURDIR)/$(BUILD_DIR)/morvantel
	sh bench/paste.sh $(CURDIR)/$(BUILD_DIR)/bench/paste_bench

# The Debian source and binary packages, built by dpkg-buildpackage from the
# tracked files of this tree, into $(BUILD_DIR)/.
package: packages-test
	sh tools/build-package $(BUILD_DIR)

# After an intended change to how a window looks: draws each window anew into
# tests/reference-pictures/, at the design's size and at twice it (a desktop of
# 192 dots per inch), to be looked at and committed.
references: tests-configured
	cmake --build $(BUILD_DIR) --target tst_looks --parallel $(JOBS)
	cd $(BUILD_DIR) && RENEW_REFERENCE_PICTURES=1 QT_QPA_PLATFORM=offscreen \
		./tst_looks windowsMatchReferencePictures
	cd $(BUILD_DIR) && RENEW_REFERENCE_PICTURES=1 QT_FONT_DPI=192 \
		QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/tests/offscreen-screen.json \
		./tst_looks windowsMatchReferencePictures

clean:
	rm -rf $(BUILD_DIR)

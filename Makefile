# Thin driver around CMake. `make run` and `make test` first install whatever
# Debian packages from packages.txt are missing, then configure once and build.

BUILD_DIR := build
CMAKE_BUILD_TYPE := Release
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all packages build run test bench package references clean

all: build

packages:
	@sh tools/install-packages packages.txt

$(BUILD_DIR)/CMakeCache.txt: | packages
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE)

build: packages $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	$(BUILD_DIR)/morvantel

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 600

bench: build
	$(BUILD_DIR)/bench/translate_bench
	sh bench/startup.sh $(CURDIR)/$(BUILD_DIR)/bench/startup_bench $(CURDIR)/$(BUILD_DIR)/bench/bare_window \
		$(CURDIR)/$(BUILD_DIR)/bench/text_window $(CURDIR)/$(BUILD_DIR)/morvantel
	sh bench/paste.sh $(CURDIR)/$(BUILD_DIR)/bench/paste_bench

package: build
	cd $(BUILD_DIR) && cpack -G DEB

# After an intended change to how a window looks: draws each window anew into
# tests/reference-pictures/, at the design's size and at twice it (a desktop of
# 192 dots per inch), to be looked at and committed.
references: build
	cd $(BUILD_DIR) && RENEW_REFERENCE_PICTURES=1 QT_QPA_PLATFORM=offscreen \
		./tst_looks windowsMatchReferencePictures
	cd $(BUILD_DIR) && RENEW_REFERENCE_PICTURES=1 QT_FONT_DPI=192 \
		QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/tests/offscreen-screen.json \
		./tst_looks windowsMatchReferencePictures

clean:
	rm -rf $(BUILD_DIR)

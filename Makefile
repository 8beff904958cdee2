# Quick start: `make run` builds and starts the whiteboard, `make test` builds and runs the tests.
# Both first install the Debian packages that are missing.

JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR := build/test
XVFB := xvfb-run -a -s "-screen 0 1920x1080x24"

.PHONY: all deps build run test bench clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release -DVELTORINA_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j$(JOBS)

# The handwriting engine and its templates are built into $(RELEASE_DIR)/lipi.
run: build
	@export LIPI_ROOT="$${LIPI_ROOT:-$(CURDIR)/$(RELEASE_DIR)/lipi}"; \
	if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
		$(RELEASE_DIR)/veltorina; \
	else \
		echo "No display found: starting Veltorina under Xvfb (1920x1080). Stop it with Ctrl+C."; \
		$(XVFB) $(RELEASE_DIR)/veltorina; \
	fi

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DVELTORINA_SANITIZE=ON
	cmake --build $(TEST_DIR) -j$(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j$(JOBS) || { ../../scripts/show-failures.sh .; exit 1; }

# The screen share against nginx under wrk: the only target that brings nginx and wrk along.
bench-httpserve:
	@./scripts/install-deps.sh nginx wrk
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVELTORINA_TESTS=OFF
	cmake --build build/bench -j$(JOBS) --target bench_httpserve
	cd build/bench && QT_QPA_PLATFORM=offscreen ./bench/bench_httpserve

# Benchmarks: one target each (make bench-<name>), built optimised, never part of `make test`.
bench-%: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVELTORINA_TESTS=OFF
	cmake --build build/bench -j$(JOBS) --target bench_$*
	cd build/bench && QT_QPA_PLATFORM=offscreen ./bench/bench_$*

# The PDF import row of bench-iwbopen alone: 500 pages against one pdftoppm run of the file.
bench-pdfimport: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVELTORINA_TESTS=OFF
	cmake --build build/bench -j$(JOBS) --target bench_iwbopen
	cd build/bench && VELTORINA_BENCH_PDF_ONLY=1 QT_QPA_PLATFORM=offscreen ./bench/bench_iwbopen

# Handwriting recognition on writing styles held out of the engine, and on Inkscape's
# single-line fonts (a check the engine never learns from): only this target brings Inkscape.
bench-recognition: deps
	@./scripts/install-deps.sh inkscape
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVELTORINA_TESTS=OFF
	cmake --build build/bench -j$(JOBS) --target bench_recognition
	cd build/bench && QT_QPA_PLATFORM=offscreen ./bench/bench_recognition

# Fuzzing: one target each (make fuzz-<name>), built with clang in build/fuzz, never part of
# `make test`. Runs FUZZ_SECONDS in one process; what it finds lands in build/fuzz/findings-<name>
# (crash-*, timeout-*, oom-*) and belongs in fuzz/regressions/<name> once understood.
FUZZ_SECONDS ?= 600
FUZZ_DIR := build/fuzz
fuzz-%: deps
	@./scripts/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELTORINA_TESTS=OFF -DVELTORINA_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzz_$*
	mkdir -p $(FUZZ_DIR)/corpus-$* $(FUZZ_DIR)/findings-$* fuzz/regressions/$*
	cd $(FUZZ_DIR) && ASAN_OPTIONS=detect_leaks=0 ./fuzz/fuzz_$* -max_len=4194304 -len_control=0 \
		-timeout=20 -rss_limit_mb=2048 -max_total_time=$(FUZZ_SECONDS) -dict=$(CURDIR)/fuzz/$*.dict \
		-artifact_prefix=findings-$*/ corpus-$* $(CURDIR)/fuzz/corpus/$* \
		$(CURDIR)/fuzz/regressions/$*

clean:
	rm -rf build

BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
JOBS ?= 2
FUZZ_SECONDS ?= 60
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
PACKAGE_DIR ?= build-package

.PHONY: deps configure build run test bench fuzz format clean package

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	$(BUILD_DIR)/bin/kelmor

# The tests and benchmarks run against a private sound server with a loopback device.
test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen $(CURDIR)/tools/pulse-test-server.sh \
		ctest --output-on-failure -j$(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*/*-bench; do \
		echo "== $$b"; QT_QPA_PLATFORM=offscreen tools/pulse-test-server.sh $$b || exit 1; \
	done
	@echo "== PNG file sizes against optipng -o2 (bench/png-size.sh)"
	@bench/png-size.sh $(BUILD_DIR) | tail -1
	@echo "== start-up to the first window (bench/startup/measure.sh)"
	@bench/startup/measure.sh $(BUILD_DIR)
	@echo "== memory 3 s after start (bench/startup/rss.sh)"
	@bench/startup/rss.sh $(BUILD_DIR)

# The Debian package (kelmor_VERSION_ARCH.deb in PACKAGE_DIR), built as a packager builds it:
# in a folder of its own with BUILD_TESTING off, so neither the test tools nor the tests are
# needed. Its library dependencies are computed from the binaries by dpkg-shlibdeps.
package:
	@tools/install-deps.sh --package dpkg-dev file
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build $(PACKAGE_DIR) -j$(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

fuzz: deps
	@tools/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELMOR_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target fuzzers
	@for f in $(FUZZ_DIR)/fuzz/fuzz-*; do \
		name=$$(basename $$f); \
		mkdir -p $(FUZZ_DIR)/corpus/$$name; \
		echo "== $$name for $(FUZZ_SECONDS)s"; \
		$$f -max_total_time=$(FUZZ_SECONDS) $(FUZZ_DIR)/corpus/$$name fuzz/seeds/$${name#fuzz-} || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(SANITIZE_DIR) $(PACKAGE_DIR)

# Checks that .ci/run makes; each also works on its own.
.PHONY: check-format check-core-includes check-function-length sanitize tsan check-package

# Fails on any C++ file that clang-format would change (`make format` changes them).
check-format:
	@tools/install-deps.sh clang-format
	tools/check-format.sh

# The layer check: fails on a Qt include in src/core or src/cli, an include against the arrows
# gui -> core and cli -> core, a circle between folders, a folder mixing Qt and pure files, or
# one tab's folder under src/gui including another's.
check-core-includes: $(BUILD_DIR)/build.ninja
	tools/check-core-includes.sh $(BUILD_DIR)

# Fails on any function of src/ longer than 60 lines, signature and braces included.
check-function-length:
	@tools/install-deps.sh python3
	git ls-files -z 'src/*.cpp' 'src/*.h' | xargs -0 tools/check-function-length.py 60

# The whole suite built by clang with warnings as errors, run under AddressSanitizer and
# UndefinedBehaviorSanitizer. The leak checker of clang 14 misreads glibc 2.36's dynamic TLS
# blocks when it follows __tls_get_addr, and crashes at exit ("Tracer caught signal 11",
# "DTLS ... at 0x...9ca"); it scans the static TLS and every thread's stack without that.
# It keeps its list of suppressed leaks to itself: the kelmor-cli tests compare standard error.
sanitize: deps
	@tools/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKELMOR_SANITIZE=ON -DKELMOR_WERROR=ON
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 \
		ASAN_OPTIONS=intercept_tls_get_addr=0 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan-suppressions.txt:print_suppressions=0 \
		$(CURDIR)/tools/pulse-test-server.sh ctest --output-on-failure -j$(JOBS)

# The test programs of the code that runs on threads (the thumbnail workers, the pictures they
# decode, the designer's pictures and Thumbnail View), built by clang under ThreadSanitizer and
# run; any data race fails them. Qt itself is not instrumented: its own internals are left out,
# and the cases that start reference programs through QProcess, whose clone() ThreadSanitizer
# cannot follow, are skipped. Reports name modules and offsets, unsymbolised: the suppressions
# go by module, and the symboliser's own complaints would reach the standard error that the
# kelmor-cli tests compare.
TSAN_TESTS = tests/thumbnails/thumbnails_tests tests/imaging/imaging_raster_test \
	tests/imaging/imaging_websvg_test tests/designer/designer_tests tests/pictures/pictures_tab_test
tsan: deps
	@tools/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKELMOR_TSAN=ON -DKELMOR_WERROR=ON
	cmake --build $(TSAN_DIR) -j$(JOBS) --target kelmor-cli $(notdir $(TSAN_TESTS))
	cd $(TSAN_DIR) && for t in $(TSAN_TESTS); do \
		echo "== $$t"; QT_QPA_PLATFORM=offscreen GTEST_FILTER='-NewKindsTest.*' \
		TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 symbolize=0 suppressions=$(CURDIR)/tools/tsan-suppressions.txt" \
		./$$t || exit 1; \
	done

# Builds the package, unpacks it with dpkg-deb and checks its file list, the desktop entry and
# the AppStream metainfo with their validators, and the unpacked programs.
check-package: package
	tools/check-package.sh $(PACKAGE_DIR)

# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test test-sanitize test-memcheck test-web bench fuzz clean package web serve format

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD)/build.ninja

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/kazoru

# The whole suite, then the window-free libraries and their tests again under AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer, then short soaks of the real windows under valgrind
# (any report fails the run).
test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-web
	@$(MAKE) --no-print-directory test-sanitize
	@$(MAKE) --no-print-directory test-memcheck

test-sanitize: deps
	@cmake -S . -B build-asan -G Ninja -DKAZORU_SANITIZE=ON -DKAZORU_UI=OFF -DKAZORU_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The calculation screen, the notebook window and the whole program driven at random under valgrind's
# memcheck: a memory error or a block definitely lost fails the run. Handlers get 100 s each there (valgrind is slow).
# Qt's regular expressions run without their JIT there: valgrind cannot follow the machine code PCRE2 writes at
# run time and reports its reads as uninitialised.
MEMCHECK = valgrind --quiet --error-exitcode=3 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --num-callers=30
test-memcheck: build
	@echo "memcheck: soaks of the calculation screen, the notebook window and the whole program under valgrind"
	@cd $(BUILD) && export QT_QPA_PLATFORM=offscreen KAZORU_SOAK_LIMIT_MS=100000 QT_ENABLE_REGEXP_JIT=0 && \
	  KAZORU_SOAK_KEYS=2000 $(MEMCHECK) tests/TestSoak --gtest_brief=1 && \
	  KAZORU_NOTEBOOK_SOAK_STEPS=400 $(MEMCHECK) tests/TestNotebookSoak --gtest_brief=1 && \
	  KAZORU_PROGRAM_SOAK_STEPS=500 $(MEMCHECK) tests/TestProgramSoak --gtest_brief=1 </dev/null

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" --benchmark_min_time=0.2; done

# libFuzzer targets need clang; they build in a tree of their own.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKAZORU_FUZZ=ON -DKAZORU_UI=OFF \
	  -DKAZORU_TESTS=OFF -DKAZORU_BENCH=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers.sh build-fuzz

# The browser edition: the window-free layers, the binding and kazoru-cli for node compiled by Debian's
# emscripten into build-web/, and the site put together in build-web/site/. Any static server hosts it.
WEB_BUILD ?= build-web
WEB_ENV = NODE_PATH=/usr/share/nodejs
web: deps
	@[ -f $(WEB_BUILD)/build.ninja ] || $(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target kazoru-web kazoru-cli
	@scripts/make-web-site.sh $(WEB_BUILD)

serve: web
	@echo "serving $(WEB_BUILD)/site on http://127.0.0.1:8022/ (Ctrl+C stops)"
	@cd $(WEB_BUILD)/site && /usr/bin/python3 -m http.server 8022 --bind 127.0.0.1

# The browser edition against the desktop build: page records and kazoru-cli runs compared, then the site
# in Chromium, Firefox ESR and WebKitGTK, Debian's own (tests/web/driver.mjs: puppeteer-core drives the first
# two, selenium-webdriver WebKit's WebDriver on an Xvfb display the tests start; no browser is downloaded).
# Two test files run at once (WEB_TEST_JOBS): each file holds one browser at a time and gives every page an
# origin of its own, so files share nothing but the CPU. KAZORU_BROWSERS=chromium,firefox picks browsers;
# KAZORU_WEB_SHOTS=dir keeps screenshots; KAZORU_CPU_SLOWDOWN=4 slows Chromium's CPU as on a school laptop.
WEB_TEST_JOBS ?= 2
test-web: build web
	@cd tests/web && { [ node_modules/.package-lock.json -nt package-lock.json ] || npm ci --no-audit --no-fund >/dev/null; }
	@tests/web/node_modules/.bin/eslint --config tests/web/eslint.config.mjs web tests/web
	@KAZORU_BROWSERS=$${KAZORU_BROWSERS:-chromium,firefox,webkit} KAZORU_BUILD=$(CURDIR)/$(BUILD) \
	  KAZORU_WEB_BUILD=$(CURDIR)/$(WEB_BUILD) node --test --test-concurrency=$(WEB_TEST_JOBS) tests/web/

# Lays the C++ sources out as .clang-format says (the CodeLayout test checks it).
format: deps
	@scripts/check-format.sh --fix

clean:
	rm -rf $(BUILD) build-fuzz build-asan $(WEB_BUILD)

package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls -1 $(CURDIR)/$(BUILD)/*.deb

# Fotonar: `make run` opens the window, `make test` runs every test. Both install the Debian
# packages that are missing first (through sudo when not root) and build what changed.

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
WINDOWS_DIR ?= build-windows
WEB_DIR ?= build-web
# The single file fotonar-VERSION.html, in a folder beside the browser build's own.
WEB_SINGLE_DIR = $(WEB_DIR)-single
WASM_DIR ?= build-wasm
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

# To build and run: compiler, CMake, Qt Widgets, the fonts that stand in for Times New Roman,
# fontconfig's and Xlib's headers (start-up warms fontconfig; the start-up benchmark watches X
# and its DAMAGE reports).
BUILD_PACKAGES := cmake g++ make qt6-base-dev fonts-liberation2 libfontconfig-dev libx11-dev libxdamage-dev
# For the tests: a real X display for the end-to-end tests and the benchmark, the validators of
# the desktop entry, the AppStream metainfo and the .deb, GNOME's dark theme as Qt sees it, and
# a session bus with AT-SPI's registry and pyatspi to read the window as a screen reader does.
TEST_PACKAGES := xvfb xauth xdotool imagemagick openbox wmctrl x11-utils desktop-file-utils appstream \
	qt6-gtk-platformtheme gnome-themes-extra lintian dpkg-dev file dbus-daemon at-spi2-core python3-pyatspi
# For the Windows executable: the cross-compiler; for its tests, Wine.
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis
WINE_PACKAGES := wine wine64
# For the browser build: emscripten (its optimiser finds Debian's acorn through NODE_PATH, where
# the machine's node is not Debian's), the fonts' subsetter with WOFF2, the icons' renderer; for
# its tests, Chromium and Firefox ESR (driven by puppeteer-core from npm, tests/web/package-lock.json),
# WebKitGTK's MiniBrowser and WebDriver, and the locales' sources that the WebKit tests compile.
WEB_PACKAGES := cmake make python3 emscripten fonttools python3-brotli librsvg2-bin fonts-liberation2
WEB_TEST_PACKAGES := chromium firefox-esr webkit2gtk-driver locales
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs
# For `make lint`: clang-tidy and clang-format (14, as Debian has them); the JavaScript linter comes
# from npm (tools/lint/package-lock.json).
LINT_PACKAGES := clang-tidy clang-format python3
# For `make package`: dpkg-shlibdeps works out the .deb's dependencies.
PACKAGE_PACKAGES := dpkg-dev file
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)
# Warnings are errors where the code is checked (make test, make check-sanitize, CI); a user's
# `make run` or `make build` keeps whatever its build folder has (off when new). WERROR=OFF on
# the command line turns it off for the checks too.
WERROR_OPTION = $(if $(WERROR),-DFOTONAR_WERROR=$(WERROR))

.PHONY: all deps deps-test deps-windows deps-web deps-lint configure build windows web serve \
	web-test-modules lint-modules run test bench check-sanitize lint package release format clean

all: build

# Installs only what dpkg does not already have, so a second call costs nothing. Without apt-get
# and dpkg (another distribution) it says in one line what to install, and goes on to build.
define install_missing
	@if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then \
	  echo "No apt-get here: install the equivalents of $(strip $(1)) (the README names them for Fedora and Arch)."; \
	else \
	  missing=$$(for p in $(1); do \
	      dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	    done); \
	  if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	  fi; \
	fi
endef

deps:
	$(call install_missing,$(BUILD_PACKAGES))

deps-test:
	$(call install_missing,$(BUILD_PACKAGES) $(TEST_PACKAGES) $(WINDOWS_PACKAGES) $(WINE_PACKAGES) \
	    $(WEB_PACKAGES) $(WEB_TEST_PACKAGES))

deps-web:
	$(call install_missing,$(WEB_PACKAGES))

deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES))

deps-lint:
	$(call install_missing,$(LINT_PACKAGES))

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WERROR_OPTION)

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

# build-windows/fotonar.exe and its installer, cross-built with mingw-w64 and NSIS. Where the
# cross-compiler cannot be had, it says so and the tests under Wine skip.
windows: deps-windows
	@if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then \
	  echo "No mingw-w64 cross-compiler: fotonar.exe is not built."; \
	else \
	  cmake -S . -B $(WINDOWS_DIR) -DCMAKE_BUILD_TYPE=Release $(WERROR_OPTION) \
	      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	      -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=$(CURDIR)/$(WINDOWS_DIR) && \
	  cmake --build $(WINDOWS_DIR) -j$(JOBS) --target fotonar fotonar-responds fotonar-dpi-change fotonar-picture-name fotonar-bench \
	      $$(command -v makensis >/dev/null && echo setup); \
	fi

# build-web/: the page, fotonar-core.js and .wasm, fonts, icons, manifest and service worker;
# build-web-single/fotonar-VERSION.html: the same page as one file with all of it inside.
web: deps-web
	@if ! command -v emcmake >/dev/null; then \
	  echo "No emscripten: the browser build is not made."; \
	else \
	  $(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WASM_DIR) -DCMAKE_BUILD_TYPE=Release $(WERROR_OPTION) \
	      -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=$(CURDIR)/$(WEB_DIR) >/dev/null && \
	  $(EMSCRIPTEN_ENV) cmake --build $(WASM_DIR) -j$(JOBS); \
	fi

# Serves build-web/ on this machine only, as a school's web space would.
serve: web
	@echo "Fotonar in the browser: http://127.0.0.1:8000/ (Ctrl+C ends it)"
	python3 -m http.server 8000 --bind 127.0.0.1 --directory $(WEB_DIR)

# The browser tests' modules, pinned by tests/web/package-lock.json (Node.js and npm are what
# emscripten brought; npm from Debian where node came without it).
web-test-modules:
	@command -v npm >/dev/null || { $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends npm; }
	@[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] || \
	  (cd tests/web && npm ci --no-audit --no-fund)

# The JavaScript linter, pinned by tools/lint/package-lock.json.
lint-modules:
	@command -v npm >/dev/null || { $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends npm; }
	@[ tools/lint/node_modules/.package-lock.json -nt tools/lint/package-lock.json ] || \
	  (cd tools/lint && npm ci --no-audit --no-fund)

run: build
	$(BUILD_DIR)/bin/fotonar

test: WERROR = ON
test: deps-test build windows web web-test-modules
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# Start-up against a bare Qt window on a private X server; then bench/table.mjs: what a run
# costs beyond its pauses in every front end and engine, at the design's size and maximized on
# a 1920 x 1080 and a 3840 x 2160 screen, at slow-down 1 and 6 (the Windows build under Wine, in
# a prefix of its own, made as the tests make theirs); then offscreen, and the browsers' loads.
# FOTONAR_BASELINE=DIR measures another checkout's builds beside. bench/README.md says what the
# figures mean.
BENCH_WINEPREFIX := $(CURDIR)/$(BUILD_DIR)/bench-wineprefix
bench: deps-test build windows web web-test-modules
	xvfb-run -a -s '-screen 0 1280x1024x24' $(BUILD_DIR)/bin/fotonar-startup \
	    $(BUILD_DIR)/bin/fotonar $(BUILD_DIR)/bin/fotonar-bare-window
	@if [ -f $(WINDOWS_DIR)/fotonar-bench.exe ] && command -v wine >/dev/null; then \
	  [ -f $(BENCH_WINEPREFIX)/user.reg ] || FOTONAR=$(BUILD_DIR)/bin/fotonar \
	      FOTONAR_EXE=$(WINDOWS_DIR)/fotonar.exe WINEPREFIX=$(BENCH_WINEPREFIX) \
	      bash tests/e2e/wine_prefix.sh >/dev/null; \
	fi
	node bench/table.mjs
	@echo "offscreen:"; QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/fotonar-bench | tail -n 1
	@echo "The browser build's loads and runs in a row, in Chromium, Firefox ESR and WebKitGTK:"; \
	  python3 tools/web-page.py --sizes $(WEB_DIR) $(WEB_SINGLE_DIR) && node bench/web/bench.mjs

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
check-sanitize: WERROR = ON
check-sanitize: deps-test windows
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DFOTONAR_SANITIZE=ON $(WERROR_OPTION)
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j$(JOBS) -LE "wine|web"

# A .deb in build/: fotonar_VERSION_ARCH.deb.
package: build
	rm -f $(BUILD_DIR)/fotonar_*.deb
	$(call install_missing,$(PACKAGE_PACKAGES))
	cd $(BUILD_DIR) && cpack

# dist/: the .deb, the Windows installer, the portable Windows executable, the browser build's
# folder as a zip ready to upload, its single file, and SHA256SUMS, all named with the version
# from CMake.
release: package windows web
	rm -rf dist && mkdir -p dist
	@version=$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD_DIR)/CMakeCache.txt); \
	cp $(BUILD_DIR)/fotonar_$${version}_*.deb dist/ && \
	cp $(WINDOWS_DIR)/fotonar-$${version}-setup.exe dist/ && \
	cp $(WINDOWS_DIR)/fotonar.exe dist/fotonar-$${version}.exe && \
	cp -r $(WEB_DIR) dist/fotonar-$${version}-web && \
	(cd dist && python3 -m zipfile -c fotonar-$${version}-web.zip fotonar-$${version}-web) && \
	rm -r dist/fotonar-$${version}-web && \
	cp $(WEB_SINGLE_DIR)/fotonar-$${version}.html dist/ && \
	cd dist && sha256sum *.deb *.exe *.zip *.html > SHA256SUMS && echo "dist/ (version $$version):" && ls -l

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# No findings, or it fails: clang-format over every C++ file, clang-tidy (.clang-tidy) over every
# file of the Linux, Windows and browser builds (tools/lint/clang-tidy.sh), and ESLint
# (tools/lint/eslint.config.mjs) over the page, the benchmarks and the browser tests.
lint: deps-lint build windows web lint-modules
	@echo "clang-format over $$(git ls-files '*.cpp' '*.h' | wc -l) files"
	@clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')
	@echo "ESLint over the page, the benchmarks and the browser tests"
	@tools/lint/node_modules/.bin/eslint --max-warnings 0 --config tools/lint/eslint.config.mjs \
	    src/web/page/*.js src/web/startcore.js bench tests/web tools/lint
	@JOBS=$(JOBS) tools/lint/clang-tidy.sh $(BUILD_DIR) $(WINDOWS_DIR) $(WASM_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(WINDOWS_DIR) $(WEB_DIR) $(WEB_SINGLE_DIR) $(WASM_DIR) dist

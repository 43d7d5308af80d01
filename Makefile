# The two commands: `make run` and `make test`.
BUILD ?= build
WERROR ?= OFF
CMAKE_FLAGS ?=

WIN_BUILD ?= build-win

.PHONY: all deps build test run bench deb format clean windows windows-test windows-installer
all: build

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DTALVO_WERROR=$(WERROR) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# Window tests need a display: every test runs on a fresh virtual one with a window manager.
test: build
	cd $(BUILD) && ../scripts/with-display ctest --output-on-failure -j2

# The client against the bundled demo service, on this desktop.
run: build
	./scripts/run-demo $(BUILD)

# The Debian package, build/talvo_<version>_<arch>.deb.
deb: build
	cd $(BUILD) && cpack

bench: build
	./scripts/install-deps --bench
	$(BUILD)/bench/bench_core
	./scripts/with-display $(BUILD)/bench/bench_window
	./scripts/with-display $(BUILD)/bench/bench_startup
	cd $(BUILD) && tests/credential_kill_loop 1000
	cmake --build $(BUILD) --target bench_media
	./scripts/with-display $(BUILD)/bench/bench_playback
	./scripts/with-display $(BUILD)/bench/bench_radio
	./scripts/with-display $(BUILD)/bench/bench_switch

# The Windows program, cross-built: mingw-w64, and wxWidgets, curl and cpp-httplib built for
# Windows from Debian's sources (cached; scripts/windows-deps).
windows: deps
	deps=$$(./scripts/windows-deps) && \
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  "-DTALVO_WINDOWS_DEPS=$$deps" -DTALVO_BENCH=OFF -DTALVO_WERROR=$(WERROR) && \
	cmake --build $(WIN_BUILD)

# The Windows build's tests, run by Wine on a virtual display, then talvo.exe itself against the
# demo service of the Linux build.
windows-test: windows build
	cd $(WIN_BUILD) && ../scripts/with-display ../scripts/wine-run --one-server ctest --output-on-failure -j2
	./scripts/with-display tests/windows/smoke_test.sh $(BUILD) $(WIN_BUILD) $(WIN_BUILD)/artifacts

# The installer (NSIS) and a portable zip of the same stripped talvo.exe, with the loader of Edge's
# engine and its licence beside it; the installer is then installed and uninstalled silently under
# Wine, and what both carry is checked.
VERSION := $(shell awk '/^project/ {print $$3}' CMakeLists.txt)
windows-installer: windows
	rm -rf $(WIN_BUILD)/dist && mkdir -p $(WIN_BUILD)/dist
	x86_64-w64-mingw32-strip -o $(WIN_BUILD)/dist/talvo.exe $(WIN_BUILD)/talvo.exe
	deps=$$(./scripts/windows-deps) && webview2=$${deps##*;} && \
	  cp $$webview2/bin/WebView2Loader.dll $$webview2/bin/WebView2Loader-LICENSE.txt $(WIN_BUILD)/dist/
	makensis -V2 -INPUTCHARSET UTF8 -DDIST=$(abspath $(WIN_BUILD))/dist \
	  -DICON=$(abspath $(WIN_BUILD))/app/talvo.ico -DVERSION=$(VERSION) \
	  -DOUT=$(abspath $(WIN_BUILD))/talvo-$(VERSION)-setup.exe packaging/windows/talvo.nsi
	rm -f $(WIN_BUILD)/talvo-$(VERSION)-portable.zip
	cd $(WIN_BUILD)/dist && zip -q ../talvo-$(VERSION)-portable.zip talvo.exe WebView2Loader.dll \
	  WebView2Loader-LICENSE.txt
	./scripts/with-display tests/windows/installer_test.sh $(WIN_BUILD)/talvo-$(VERSION)-setup.exe \
	  $(WIN_BUILD)/talvo-$(VERSION)-portable.zip

# Rewrites every tracked C++ file as .clang-format says; CI checks it with scripts/check-format.
format: deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-fuzz

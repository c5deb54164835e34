# The two things a newcomer runs. Both install what they need first.
.PHONY: demo test build-windows build-windows-x86 build-native deps

deps:
	@bash scripts/install-deps.sh

build-native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native

build-windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

build-windows-x86: deps
	@cmake --preset windows-x86 >/dev/null
	@cmake --build --preset windows-x86

# Runs the program in a demo installation (headless: screenshots into build/demo/).
demo: build-windows
	@bash scripts/demo.sh

# Every test tier: the layout of the C++ sources, native unit tests under
# the sanitizers, then the Windows unit tests, the package (the example
# built against an installation) and the end-to-end UI tests under Wine,
# for the 64-bit and the 32-bit build, with the local update page server
# running (tests/run-windows-tests.sh); then the gallery at 100, 150 and
# 200 % display scale, in a session of its own.
test: build-native build-windows build-windows-x86
	@bash scripts/check-format.sh
	@ctest --preset native --parallel 2
	@bash tests/run-windows-tests.sh
	@bash tests/run-windows-tests.sh --scales

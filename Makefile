# The two things a newcomer runs. Both install what they need first, and
# only that: the demo takes no 32-bit packages and builds only what it shows.
.PHONY: demo test build-windows build-windows-x86 build-native

build-native:
	@bash scripts/install-deps.sh test
	@cmake --preset native >/dev/null
	@cmake --build --preset native

build-windows:
	@bash scripts/install-deps.sh demo
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

build-windows-x86:
	@bash scripts/install-deps.sh test
	@cmake --preset windows-x86 >/dev/null
	@cmake --build --preset windows-x86

# Runs the 64-bit program in a demo installation (headless: screenshots into
# build/demo/). VornixDemo depends on everything it shows.
demo:
	@bash scripts/install-deps.sh demo
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target VornixDemo
	@bash scripts/demo.sh

# Every test tier of both builds, with a summary at the end
# (scripts/run-tiers.sh says which and how).
test:
	@bash scripts/run-tiers.sh

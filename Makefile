# The README's two commands: `make run` and `make test`. Everything else is for developers.
BUILD ?= build
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build test run fuzz bench format clean

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

test: deps
	@$(MAKE) --no-print-directory build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

run:
	@tools/install-deps.sh --run
	@$(MAKE) --no-print-directory build
	@tools/run.sh $(BUILD)

# Fuzz targets need clang's libFuzzer; they build in a separate tree.
fuzz:
	tools/run-fuzz.sh $(FUZZ_SECONDS)

bench: build
	tools/run-bench.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)

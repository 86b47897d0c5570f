# Two entry points: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps build run test bench gallery clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2

bench: build
	@scripts/bench.sh $(BUILD)

gallery: build
	@scripts/gallery.sh $(BUILD)

clean:
	rm -rf $(BUILD)

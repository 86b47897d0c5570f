# Two entry points: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps build run test bench gallery sanitize clean

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

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer, in its own build folder.
sanitize: deps
	@cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLIPNAB_SANITIZE=ON >/dev/null
	@cmake --build build-sanitize
	@cd build-sanitize && QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure --timeout 900 -j2

clean:
	rm -rf $(BUILD)

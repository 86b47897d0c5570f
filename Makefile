# Two entry points: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
# WERROR=ON turns compiler warnings into errors (CI does).
WERROR ?= OFF
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLIPNAB_WERROR=$(WERROR)

.PHONY: deps build run test bench gallery sanitize fuzz format-check package clean

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

# libFuzzer targets for every reader of outside input, built with clang in their own folder and
# run one after another; FUZZ_TARGETS picks some of them.
FUZZ_BUILD ?= build-fuzz
FUZZ_RUNS ?= 10000000
FUZZ_MAX_TIME ?= 3600
FUZZ_TARGETS ?=
fuzz:
	@scripts/install-deps.sh --fuzz
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++-14 -DCLIPNAB_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) --target clipnab_fuzz
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_RUNS) $(FUZZ_MAX_TIME) $(FUZZ_TARGETS)

# Every C++ file git tracks must match .clang-format; nothing is changed.
CLANG_FORMAT ?= clang-format-14
format-check:
	@scripts/install-deps.sh --format
	@git ls-files -z '*.cpp' '*.h' | xargs -0 $(CLANG_FORMAT) --dry-run --Werror

# A Debian package of the program alone (build-package/clipnab_<version>_<arch>.deb), built for
# /usr with its dependencies computed from the libraries it links.
PACKAGE_BUILD ?= build-package
package:
	@scripts/install-deps.sh --package
	@cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_INSTALL_PREFIX=/usr >/dev/null
	@cmake --build $(PACKAGE_BUILD) --target clipnab clipnab_manpage
	@cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/clipnab_*.deb

clean:
	rm -rf $(BUILD)

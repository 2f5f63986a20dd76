# Wraps CMake. `make deps` installs the Debian packages; `make run` and `make test` call it,
# `make` alone only builds.
BUILD := build
PACKAGES := g++ cmake ninja-build qt6-base-dev libsqlite3-dev libgtest-dev libgmock-dev \
	libbenchmark-dev xvfb xauth fonts-unfonts-core fonts-baekmuk sword-text-kjv \
	libsword-utils libhangul-data hunspell-ko poppler-utils qt6-translations-l10n \
	libexpat1-dev libicu-dev sword-text-web gmt gmt-gshhg-high curl zlib1g-dev \
	libmimalloc-dev
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps build run test bench test-asan test-tsan fuzz install check-format

# Installs those of the Debian packages $(1) that are missing.
define install-missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -o DPkg::Lock::Timeout=300 && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
	    -o DPkg::Lock::Timeout=300 $$missing; \
	fi
endef

all: build

deps:
	$(call install-missing,$(PACKAGES))

# Extra CMake options for the first configure, e.g. CMAKE_FLAGS=-DQEL_BUILD_TESTS=OFF.
CMAKE_FLAGS ?=

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: deps
	$(MAKE) build
	$(BUILD)/qelbible

# The program, qel-mkdb, the built data, a desktop entry and the icon under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# No test may hang the run: each has TEST_TIMEOUT seconds.
TEST_TIMEOUT ?= 600

test: deps
	$(MAKE) build
	cd $(BUILD) && ctest --output-on-failure --timeout $(TEST_TIMEOUT)

check-format:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

bench: deps
	$(MAKE) build
	$(BUILD)/qel-bench

test-asan: deps
	cmake -S . -B $(BUILD)-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON
	cmake --build $(BUILD)-asan
	cd $(BUILD)-asan && ctest --output-on-failure

# The search tests, whose workers share state with the user-interface thread, under
# ThreadSanitizer.
TSAN_TESTS := ^(SearchForms|VerseSearchRun|WordSearchRun|GridText|GridCtrl|SearchDialogTest|QueryEngineTest)\.

test-tsan: deps
	cmake -S . -B $(BUILD)-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQEL_TSAN=ON
	cmake --build $(BUILD)-tsan --target qel_core_tests qel_ui_tests
	cd $(BUILD)-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 \
	    suppressions=$(abspath tests/tsan.supp)" \
	    ctest --output-on-failure -R '$(TSAN_TESTS)'

# libFuzzer over the Qt-free parsers, layout, the like shim and the map bitmap loader:
# FUZZ_SECONDS per target (make fuzz FUZZ_SECONDS=600); an input that takes longer than
# FUZZ_TIMEOUT seconds is a failure. The corpus grows in $(BUILD)-fuzz/corpus/.
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_SECONDS ?= 60
FUZZ_TIMEOUT ?= 10
FUZZ_TARGETS := markupparser layout wordquery queryparser passagereference typedreference like \
	resultrows importsource mapbitmap

fuzz: deps
	$(call install-missing,$(FUZZ_PACKAGES))
	cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQEL_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD)-fuzz
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(BUILD)-fuzz/corpus/$$t || exit 1; \
	  echo "Fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  $(BUILD)-fuzz/qel_$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=$(FUZZ_TIMEOUT) \
	    -print_final_stats=1 \
	    -dict=tests/fuzz/markup.dict $(BUILD)-fuzz/corpus/$$t tests/fuzz/seeds || exit 1; \
	done

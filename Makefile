# The two commands a new checkout needs: `make demo` and `make test`.
# Both install whatever Debian packages are missing, then configure and build.

BUILD ?= build
JOBS  ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test demo fuzz clean

all: build

deps:
	@scripts/install-deps

build: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The libFuzzer target for --check's payload checker, with AddressSanitizer
# and UndefinedBehaviorSanitizer; run it as $(FUZZ_DIR)/check_fuzz.
FUZZ_DIR ?= $(BUILD)/fuzz
fuzz:
	@mkdir -p $(FUZZ_DIR)
	@clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
	  -Iinstaller fuzz/check_fuzz.cpp installer/check.cpp installer/zstd-payload.cpp -lz -lzstd -o $(FUZZ_DIR)/check_fuzz

demo: build
	@scripts/run-demo $(BUILD)/Zorvane8-installer.bin

clean:
	rm -rf $(BUILD) demo-install

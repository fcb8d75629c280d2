# The two commands a new checkout needs: `make demo` and `make test`.
# Both install whatever Debian packages are missing, then configure and build.

BUILD ?= build
JOBS  ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test demo clean

all: build

deps:
	@scripts/install-deps

build: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@scripts/run-demo $(BUILD)/Zorvane8-installer.bin

clean:
	rm -rf $(BUILD) demo-install

# Quillory — the README's commands: `scripts/install-deps && make run` and `... && make test`.
BUILD   ?= build
FUZZ_BUILD ?= build-fuzz
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build dist run test bench fuzz clean

all: build

deps:
	@scripts/install-deps

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The portable program folder: the executables beside their data files. The diary's own
# files (Entries/, QL.INI) appear here when it runs and are never touched by this target.
dist: build
	@mkdir -p dist
	cp -f $(BUILD)/quillory $(BUILD)/quillory-cli dist/
	cp -f $(BUILD)/quillory-cli-full dist/
	@if [ -d $(BUILD)/dist-data ]; then cp -rf $(BUILD)/dist-data/. dist/; fi

# An installed copy: the programs in $(PREFIX)/bin, their data in $(PREFIX)/share/quillory, the
# desktop entry, icon, AppStream metadata and manual page; the diary in ~/.local/share/quillory.
PREFIX ?= /usr/local
.PHONY: install
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

run: deps dist
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found. Start the diary under a virtual display with:"; \
	  echo "  xvfb-run -a dist/quillory"; \
	  exit 1; \
	fi
	dist/quillory

test: deps build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600

bench: deps build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && { echo "== $$b"; "$$b" || exit 1; }; done

# quillory-cli against unrtf, whole processes on generated inputs, in one run (bench/against-unrtf.sh).
.PHONY: bench-unrtf
bench-unrtf: deps build
	bench/against-unrtf.sh $(BUILD)

# libFuzzer targets, built with clang and sanitizers. The build leaves the program and its GUI
# out; the Qt edge that fuzz_metafile_qt plays into is built for that target alone
# (fuzz/CMakeLists.txt). Run one with, for example:
#   build-fuzz/fuzz/fuzz_rtf_reader -timeout=5 -max_total_time=600 fuzz/corpus/rtf_reader
# Always with -timeout=5: an input that takes more than five seconds is a finding. The targets
# that start Qt need LSAN_OPTIONS=suppressions=fuzz/lsan.supp (fontconfig's caches, below).
fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILLORY_FUZZ=ON -DQUILLORY_GUI=OFF -DQUILLORY_TESTS=OFF -DQUILLORY_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) dist

# Runs every fuzz target for FUZZ_SECONDS on its seed corpus (new inputs go to build-fuzz/corpus/),
# with -timeout=5 so that a reader slower than its input's size allows is found like a crash.
# A finding does not stop the others: every target runs, the findings (build-fuzz/findings/) are
# listed at the end, and then the run fails.
# LeakSanitizer reads fuzz/lsan.supp: fontconfig keeps the font caches Qt asks it for until the
# process ends, by design, and would be reported as a leak at the end of every run of a target
# that draws text; only that is suppressed, so that a leak of ours still stops the run.
FUZZ_SECONDS ?= 60
.PHONY: fuzz-run
fuzz-run: fuzz
	@failed=""; count=0; \
	for target in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -f "$$target" ] && [ -x "$$target" ] || continue; \
	  reader=$$(basename $$target | sed 's/^fuzz_//'); \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$reader $(FUZZ_BUILD)/findings; \
	  echo "== $$target"; \
	  count=$$((count + 1)); \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp:print_suppressions=0 \
	  $$target -timeout=5 -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ_BUILD)/findings/$$reader- \
	    $(FUZZ_BUILD)/corpus/$$reader fuzz/corpus/$$reader || failed="$$failed $$reader"; \
	done; \
	if [ -n "$$failed" ]; then \
	  echo "fuzz-run: findings in$$failed (inputs in $(FUZZ_BUILD)/findings/)"; exit 1; \
	fi; \
	echo "fuzz-run: $$count targets ran $(FUZZ_SECONDS) s each without a finding"

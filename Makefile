# The two commands of the README: `make run` and `make test`. Both install what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
CXX_COMPILER ?= clang++
REL := build/release
TST := build/test
FUZZ_RUNS ?= 3000
FUZZ_SECONDS ?= 300
export CCACHE_DIR ?= $(CURDIR)/build/ccache

.PHONY: all deps release run strokel batch screenshots test checks unit fuzz-smoke fuzz bench bench-window compare-peer font example windows-check clean

all: release

deps:
	@bash scripts/install-deps.sh

$(REL)/build.ninja:
	cmake -S . -B $(REL) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=$(CXX_COMPILER) \
	    -DZEVO_TESTS=OFF -DZEVO_BENCH=ON

$(TST)/build.ninja:
	cmake -S . -B $(TST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=$(CXX_COMPILER) \
	    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DZEVO_SANITIZE=ON -DZEVO_FUZZ=ON -DZEVO_WERROR=ON

release: deps $(REL)/build.ninja
	cmake --build $(REL) -j $(JOBS)

# A Debian package of the release build, unpacked into a scratch root and tried there.
package: release
	cd $(REL) && cpack -G DEB
	@deb=$$(ls -t $(REL)/zevo_*.deb | head -n 1); root=$$(mktemp -d); \
	    dpkg -x "$$deb" "$$root" && bash scripts/check-install.sh "$$root" "$$root/usr/bin"; rc=$$?; \
	    chmod -R u+w "$$root"; rm -rf "$$root"; \
	    if [ $$rc = 0 ] || [ $$rc = 77 ]; then echo "package: $$deb"; else exit $$rc; fi

# The editor on the example board (`make strokel` opens the font editor). Without a display the batch job shows the same board instead:
# read it, report it, write it back, draw it and write its manufacturing files.
run: release
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    $(REL)/zevo examples/example.pcb; \
	else \
	    echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset), so the editor window cannot open;"; \
	    echo "make run: running the batch job on examples/example.pcb instead (results in out/)."; \
	    $(MAKE) --no-print-directory batch; \
	fi

# The font editor on the font the editor uses ("zevofont.dat"); STROKEL_ARGS=-T shows the trace
# characters behind the grid.
strokel: release
	$(REL)/strokel $(STROKEL_ARGS)

batch: release
	@mkdir -p out
	$(REL)/zevo-cli info examples/example.pcb
	$(REL)/zevo-cli convert examples/example.pcb out/example.pcb
	$(REL)/zevo-cli render examples/example.pcb -o out/example.png --size 1280x800
	$(REL)/zevo-cli zevonc examples/example.pcb --dir out
	$(REL)/zevo-cli print examples/example.pcb -o out/example-artwork.pdf --artwork

# Pictures of the editor for the documentation, taken on a virtual display.
screenshots: release
	@bash scripts/install-deps.sh
	bash scripts/screenshots.sh $(REL)/zevo docs $(REL)/strokel

test: deps checks $(TST)/build.ninja
	cmake --build $(TST) -j $(JOBS)
	cd $(TST) && ASAN_OPTIONS=detect_leaks=1 ctest -j $(JOBS) --output-on-failure
	@$(MAKE) --no-print-directory fuzz-smoke

# The house rules that need no build: layers include only lower layers, commands are named,
# the windows' and the core's Japanese texts all have their English translation, no POSIX-only
# call outside the places allowed for them (the Windows build), the sources are formatted.
checks:
	python3 scripts/check-layers.py
	python3 scripts/check-commands.py
	python3 scripts/check-translations.py
	python3 scripts/check-qt-translations.py
	python3 scripts/check-posix.py
	bash scripts/check-format.sh

# The Windows build (mingw-w64 cross compiler) of the core, zevo-cli and the unit tests, run under
# wine: zevo-cli.exe's files compared byte for byte with the Linux zevo-cli's, then the unit tests.
# Installs the cross compiler and wine when missing.
WIN := build/windows
windows-check: deps $(TST)/build.ninja
	cmake --build $(TST) -j $(JOBS) --target zevo-cli
	JOBS=$(JOBS) bash scripts/windows-check.sh $(TST)/zevo-cli $(WIN)

# Every fuzz target over its corpus for a fixed number of runs from a fixed seed:
# the same commit always passes or always fails. New inputs go to a scratch folder.
fuzz-smoke:
	@set -e; n=0; for f in $(TST)/fuzz/fuzz_*; do \
	    name=$${f##*/fuzz_}; corpus=fuzz/corpus/$$name; mkdir -p $$corpus; \
	    scratch=$$(mktemp -d); \
	    echo "fuzz $$name: $(FUZZ_RUNS) runs"; \
	    $$f -runs=$(FUZZ_RUNS) -seed=1 -max_len=65536 -rss_limit_mb=4096 -timeout=20 $$scratch $$corpus >$$scratch.log 2>&1 \
	        || { tail -n 40 $$scratch.log; rm -rf $$scratch $$scratch.log; echo "fuzz: $$n passed, 1 failed"; exit 1; }; \
	    rm -rf $$scratch $$scratch.log; n=$$((n + 1)); \
	done; echo "fuzz: $$n passed, 0 failed"

# Longer fuzzing; a crash is written into the target's corpus, so `make test` replays it from then on.
fuzz: deps $(TST)/build.ninja
	cmake --build $(TST) -j $(JOBS) --target fuzzers
	@for f in $(TST)/fuzz/fuzz_*; do \
	    name=$${f##*/fuzz_}; corpus=fuzz/corpus/$$name; mkdir -p $$corpus; \
	    $$f -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$$corpus/crash- $$corpus || true; \
	done

# Rebuilds the shipped font resources/zevofont.dat from the Hershey stroke data (the file is
# committed; only those who change the generator need this).
font: $(REL)/build.ninja
	@ZEVO_WITH_FONTGEN=1 bash scripts/install-deps.sh
	cmake --build $(REL) -j $(JOBS) --target font

# Rewrites examples/example.pcb from its generator (tools/examplegen).
example: $(REL)/build.ninja
	cmake --build $(REL) -j $(JOBS) --target example

bench: release
	$(REL)/bench/zevo_bench $(BENCH_ARGS)

# The editor's window opening boards of 100 k and 1 M elements offscreen, to its first frame.
bench-window: release
	QT_QPA_PLATFORM=offscreen $(REL)/bench/zevo_window_bench

# The same big board loaded by zevo-cli and by pcb-rnd in batch mode; prints the ratio (installs
# pcb-rnd when missing, or says why it skips).
compare-peer: release
	bash bench/compare-peer.sh $(REL)

clean:
	rm -rf build out

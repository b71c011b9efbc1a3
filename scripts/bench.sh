#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in Release, runs them on the synthetic tracks
# and prints the table of results. Arguments go to the Google Benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
benchmark_args=("$@")
# setup.sh would take our arguments as package names.
set --
source scripts/setup.sh

# The release preset's directory unless PLINTHWRIGHT_BENCH_BUILD names another.
build=${PLINTHWRIGHT_BENCH_BUILD:-build-release}
cmake --preset release -B "$build" >/dev/null
targets=(plinthwright_bench bench_make_track bench_peak_memory bench_hostile bench_plan
         bench_model_reading bench_view3d)
grep -q bench_curve_evaluations "$build/build.ninja" && targets+=(bench_curve_evaluations)
grep -q bench_window_actions "$build/build.ninja" && targets+=(bench_window_actions bench_input_to_frame)
cmake --build "$build" -j2 --target "${targets[@]}"
bin=$build/bin

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
metrics="$work/metrics"
: >"$metrics"

# Peak memory: a fresh process per track, so nothing else has raised the peak.
for track in realistic large; do
  "$bin/bench_make_track" "$track" "$work/$track.nltrack"
  "$bin/bench_peak_memory" "$track" "$work/$track.nltrack" | grep '^metric' >>"$metrics"
  if [ -x "$bin/bench_window_actions" ]; then
    "$bin/bench_window_actions" "$track" "$work/$track.nltrack" | grep '^metric' >>"$metrics"
  fi
done
if [ -x "$bin/bench_curve_evaluations" ]; then
  "$bin/bench_curve_evaluations" realistic large large-clustered | grep '^metric' >>"$metrics"
fi

# Hostile files: accepted, but shaped to cost the most per byte (testsupport/HostileTracks.h).
# Each action runs in a process of its own, after another process has written the file.
hostile=(
  "empty-segments 50 read info dump save generate"
  "repeated-terrain 100 read save"
  "repeated-track-headers 100 read save"
  "tubes-over-segments 9 read generate"
)
for entry in "${hostile[@]}"; do
  read -r shape megabytes actions <<<"$entry"
  "$bin/bench_hostile" "$shape" "$megabytes" make "$work/$shape.nltrack"
  for action in $actions; do
    "$bin/bench_hostile" "$shape" "$megabytes" "$action" "$work/$shape.nltrack" |
      grep '^metric' >>"$metrics"
  done
  rm -f "$work/$shape.nltrack"
done

# Hostile footer models at the reading's bounds (bench/ModelReadingMain.cpp): made by one process,
# read through a reader process by another. Then the window's inspection of the example models.
for shape in deep-chain flat-nodes chain-at-bound circle dense many-objects padded instanced \
             instanced-at-bound tilted-grid smoothing-at-bound; do
  "$bin/bench_model_reading" "$shape" make "$work/$shape.3ds"
  "$bin/bench_model_reading" "$shape" read "$work/$shape.3ds" | grep '^metric' >>"$metrics"
  rm -f "$work/$shape.3ds"
done
"$bin/bench_model_reading" examples inspect examples/models | grep '^metric' >>"$metrics"

# The fastest of five repetitions stands for each benchmark: other programs share the machine.
"$bin/plinthwright_bench" --benchmark_repetitions=5 --benchmark_min_time=0.2 \
  --benchmark_report_aggregates_only=true "${benchmark_args[@]}" | tee "$work/bench.txt"
grep '^metric' "$work/bench.txt" >>"$metrics" || true
# The plan paints off screen; its figures get a table of their own.
"$bin/bench_plan" | tee "$work/plan.txt"
grep '^metric' "$work/plan.txt" >>"$metrics" || true
# The 3D view renders through OpenGL: Mesa's software renderer on a virtual X server of its own.
testsupport/with-xvfb.sh "$bin/bench_view3d" | tee "$work/view3d.txt"
grep '^metric' "$work/view3d.txt" >>"$metrics" || true
# Input to frame in the window's real 3D view and plan, on a virtual X server too.
if [ -x "$bin/bench_input_to_frame" ]; then
  testsupport/with-xvfb.sh "$bin/bench_input_to_frame" | tee "$work/input.txt"
  grep '^metric' "$work/input.txt" >>"$metrics" || true
fi

echo
echo "Results ($(date -u '+%Y-%m-%d'), $(nproc) cores, $(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n1))"
echo
awk '
  { value[$2 " " $3] = $4 }
  function cell(track, name, format) {
    return ((track " " name) in value) ? sprintf(format, value[track " " name]) : "-"
  }
  function row(label, name, format, target) {
    printf "| %s | %s | %s | %s | %s |\n", label, cell("realistic", name, format),
           cell("large", name, format), cell("large-clustered", name, format), target
  }
  # One figure of one track; an empty target leaves its cell empty.
  function line(label, track, name, format, target) {
    printf "| %s | %s |%s\n", label, cell(track, name, format),
           (target == "" ? " |" : " " target " |")
  }
  # A figure of the 3D view on the large track, in milliseconds.
  function view3d(label, name, target) {
    line(label, "large", "view3d_" name "_ms", "%.1f", target)
  }
  # The keys NAME of "NAME metric" values whose NAME matches `pattern`, sorted, into `out`.
  function sortedNames(pattern, metric, out,    key, part, n, i, j, t) {
    n = 0
    for (key in value) {
      split(key, part, " ")
      if (part[1] ~ pattern && part[2] == metric) out[++n] = part[1]
    }
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j)
      if (out[j] < out[i]) { t = out[i]; out[i] = out[j]; out[j] = t }
    return n
  }
  END {
    print "| Figure | realistic | large | large, clustered connectors | Target (large) |"
    print "|---|---|---|---|---|"
    row("Read / raw copy, throughput", "read_ratio", "%.2f", ">= 0.25")
    row("Write / raw copy, throughput", "write_ratio", "%.2f", ">= 0.25")
    row("Write / raw copy flushed to disk", "write_ratio_synced", "%.2f", "")
    row("Round trip / raw copy", "round_trip_ratio", "%.2f", "")
    row("Peak memory of reading / record size", "peak_ratio", "%.2f", "< 3")
    row("Curve evaluations per rail-connector footer", "evaluations_per_rail_footer", "%.0f", "<= 811")
    row("... as a share of the literal 8,114", "evaluations_vs_literal", "%.3f", "<= 0.1")
    row("Read, MB/s", "read_mb_s", "%.0f", "")
    row("Write, MB/s", "write_mb_s", "%.0f", "")
    row("Raw copy, MB/s", "raw_copy_mb_s", "%.0f", "")
    row("Raw copy flushed to disk, MB/s", "raw_copy_synced_mb_s", "%.0f", "")
    row("Read from memory, MB/s", "read_memory_mb_s", "%.0f", "")
    row("File size, MB", "file_mb", "%.2f", "")
    row("Generation per tube, us", "generate_us_per_tube", "%.2f", "")
    row("Footers generated", "footers", "%.0f", "")
    row("Rail-connector footers", "rail_footers", "%.0f", "")
    row("Segments walked (length tables built)", "segments_built", "%.0f", "")
    row("Load (read the file), ms", "load_ms", "%.1f", "< 100")
    row("Inspect (six model files), ms", "inspect_ms", "%.3f", "< 100")
    row("Generate (replace, align), ms", "generate_ms", "%.1f", "< 100")
    row("Save (write the file), ms", "save_ms", "%.1f", "< 100")
    row("Window: load, ms", "window_load_ms", "%.1f", "< 100")
    row("Window: inspect, ms", "window_inspect_ms", "%.2f", "< 100")
    row("Window: generate, ms", "window_generate_ms", "%.1f", "< 100")
    row("... its processor time, ms", "window_generate_cpu_ms", "%.1f", "< 100")
    row("... core generateFooters alone, processor ms", "window_generate_core_cpu_ms", "%.1f", "")
    row("... window / core, processor time", "window_generate_cpu_per_core", "%.2f", "<= 1.2")
    row("Window: save, ms", "window_save_ms", "%.1f", "< 100")
    row("Peak memory of reading, MB", "peak_read_mb", "%.1f", "")
    row("Record size in memory, MB", "record_mb", "%.1f", "")
    row("Peak memory added by generation, MB", "peak_generate_extra_mb", "%.1f", "")
    row("Undo step of generate, kept while done, KB", "step_generate_kb", "%.0f", "")
    row("... while undone, KB", "step_generate_undone_kb", "%.0f", "")
    row("Undo step of generate again replacing, kept while done, KB", "step_replace_kb", "%.0f", "")
    row("... while undone, KB", "step_replace_undone_kb", "%.0f", "")
    print ""
    print "| Plan (large track; last row 100,000 vertices) | ms | Target |"
    print "|---|---|---|"
    line("Paint, full view", "large", "plan_paint_full_ms", "%.1f", "<= 16")
    line("Paint, zoomed in 40x", "large", "plan_paint_zoomed_ms", "%.1f", "<= 16")
    line("Wheel notch, full view (kept picture scaled)", "large", "plan_zoom_step_ms", "%.2f", "<= 16")
    line("Crisp repaint handed to its thread", "large", "plan_crisp_start_ms", "%.2f", "<= 16")
    line("Preview recomputation", "large", "plan_preview_ms", "%.1f", "<= 100")
    line("Scene, tube ends included (load, generate)", "large", "plan_scene_ms", "%.1f", "")
    line("Scene, tube ends known (view toggle, inspection)", "large", "plan_view_ms", "%.1f", "")
    line("Plan of 100,000 vertices to PNG", "huge", "plan_file_ms", "%.0f", "seconds, not tens")
    print ""
    print "| 3D view (large track, 1280 x 800, llvmpipe) | ms | Target |"
    print "|---|---|---|"
    # Each distance still, then each while orbiting.
    split("whole track,zoomed in 20x,zoomed in 200x", distance, ",")
    split("full,zoomed,close", key, ",")
    for (i = 1; i <= 3; ++i)
      view3d("Frame, " distance[i], "frame_" key[i], i == 1 ? "<= 16 (floor <= 33)" : "")
    for (i = 1; i <= 3; ++i)
      view3d("Frame, " distance[i] ", orbiting", "orbit_" key[i], "")
    view3d("Frame, whole track, 1 x 1 pixel", "frame_full_1px", "")
    view3d("Realistic track: frame, whole track", "realistic_full", "")
    view3d("Realistic track: frame, zoomed in 20x", "realistic_zoomed", "")
    view3d("Scene (load, generate, preview)", "scene", "")
    view3d("GPU buffers", "buffers", "")
    view3d("Scene and buffers together", "rebuild", "<= 100")
    print ""
    print "| Input to frame (median, ms; the frame alone in brackets) | demo | large | Target |"
    print "|---|---|---|---|"
    split("3d wheel,3d drag,3d key,plan wheel,plan drag,plan key", inputs, ",")
    for (i = 1; i <= 6; ++i) {
      split(inputs[i], part, " ")
      name = "input_" part[1] "_" part[2]
      printf "| %s, %s | %s (%s) | %s (%s) | <= frame + 16.7 |\n", part[1], part[2],
             cell("demo", name "_ms", "%.1f"), cell("demo", name "_frame_ms", "%.1f"),
             cell("large", name "_ms", "%.1f"), cell("large", name "_frame_ms", "%.1f")
    }
    printf "\nAdding 8192 elements vs 1024, time per element (1 = linear, 8 = quadratic): "
    printf "scenery objects %s, free nodes %s\n", cell("all", "add-scenery-objects_growth", "%.2f"),
           cell("all", "add-free-nodes_growth", "%.2f")
    print "\nHostile files (target: at most 1 s per 10 MB, peak at most 16 MB per input MB + 50 MB):\n"
    print "| File: action | Input, MB | Time per 10 MB, s | Peak memory per input MB, MB |"
    print "|---|---|---|---|"
    n = sortedNames(":", "input_mb", names)
    for (i = 1; i <= n; ++i)
      printf "| %s | %.0f | %.2f | %.2f |\n", names[i], value[names[i] " input_mb"],
             value[names[i] " seconds_per_10_mb"], value[names[i] " peak_mb_per_input_mb"]
    printf "\nThe six example models read through a fresh reader, as an inspection: %s ms (target: well under 100)\n", cell("model:inspect-examples", "wall_ms", "%.1f")
    print "\nHostile footer models through the reader (target: at most 1 s, peak of the reader at most 8 x file + 64 MB):\n"
    print "| Model | File, MB | Time, s | Processor time of the reader, s | Peak of the reader, MB | Budget, MB | Answer |"
    print "|---|---|---|---|---|---|---|"
    m = sortedNames("^model:", "file_mb", models)
    for (i = 1; i <= m; ++i)
      printf "| %s | %.2f | %.3f | %.3f | %.1f | %.0f | %s |\n", substr(models[i], 7),
             value[models[i] " file_mb"], value[models[i] " wall_s"], value[models[i] " cpu_s"],
             value[models[i] " peak_mb"], 8 * value[models[i] " file_mb"] + 64,
             value[models[i] " readable"] ? "read" : "square"
  }' "$metrics"

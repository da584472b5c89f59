// The engine-beside-plain-OpenGL benchmarks' common reporting. Each frame benchmark
// measures three times per frame: the CPU time of the drawing thread (Google Benchmark's
// own CPU column: the cost of the calls), the CPU time of the whole process (counter
// "process_ms": llvmpipe's rasteriser threads included) and the wall time. After the run,
// every pair named to RunTwins gets one line with the engine's figures, the plain
// program's and their ratios, so the ratio is always read from one run on one machine.
// On a shared machine, run with --benchmark_repetitions=N: the least of each figure over
// the repetitions goes into the ratios.
#ifndef VEXA_BENCH_TWIN_REPORT_H
#define VEXA_BENCH_TWIN_REPORT_H

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace twin {

inline double ProcessSeconds()
{
    timespec t = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Starts the process clock at construction; Finish sets the frame counters.
class FrameClock {
public:
    FrameClock() : start_(ProcessSeconds()) {}
    void Finish(benchmark::State& state) const
    {
        const double n = double(state.iterations());
        if (n <= 0)
            return;
        state.counters["process_ms"] = (ProcessSeconds() - start_) * 1e3 / n;
        state.counters["fps"] = benchmark::Counter(n, benchmark::Counter::kIsRate);
    }

private:
    double start_;
};

struct Pair {
    std::string label, engine, plain;  // benchmark names as reported
};

class Reporter : public benchmark::ConsoleReporter {
public:
    explicit Reporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration)
                continue;
            // Of repetitions, the least of each figure: the one other load disturbed least.
            Figures& f = figures_[r.benchmark_name()];
            const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
            auto p = r.counters.find("process_ms");
            const Figures now = {r.GetAdjustedCPUTime() * toMs,
                                 p == r.counters.end() ? 0.0 : double(p->second),
                                 r.GetAdjustedRealTime() * toMs, true};
            f = f.known ? Figures{std::min(f.thread, now.thread), std::min(f.process, now.process),
                                  std::min(f.real, now.real), true}
                        : now;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        bool header = false;
        for (const Pair& pair : pairs_) {
            const Figures& e = figures_[pair.engine];
            const Figures& p = figures_[pair.plain];
            if (!e.known || !p.known)
                continue;
            if (!header) {
                std::printf("\nms per frame        thread CPU: engine  plain  ratio | "
                            "process CPU: engine  plain  ratio | wall: engine  plain  ratio\n");
                header = true;
            }
            std::printf("%-20s %18.3f %6.3f %6.2f | %19.3f %6.3f %6.2f | %12.3f %6.3f %6.2f\n",
                        pair.label.c_str(), e.thread, p.thread, Ratio(e.thread, p.thread),
                        e.process, p.process, Ratio(e.process, p.process), e.real, p.real,
                        Ratio(e.real, p.real));
        }
        std::fflush(stdout);
    }

private:
    struct Figures {
        double thread = 0, process = 0, real = 0;
        bool known = false;
    };
    static double Ratio(double a, double b) { return b > 0 ? a / b : 0.0; }

    std::vector<Pair> pairs_;
    std::map<std::string, Figures> figures_;
};

// Runs the registered benchmarks and prints the pairs' ratios after them.
inline int RunTwins(int argc, char** argv, std::vector<Pair> pairs)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Reporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace twin

#endif

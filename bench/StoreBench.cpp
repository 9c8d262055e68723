// Speed and peak memory of the store's operations on a large document and a full registry, each
// beside a baseline measured in the same run, and a Markdown table of the goals at the end.
#include "bench/AllocationCounter.h"
#include "bench/BenchFiles.h"
#include "bench/BenchTable.h"
#include "bench/PlainRead.h"
#include "store/Document.h"
#include "store/FileIo.h"
#include "store/Settings.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorvel::bench {
namespace {

constexpr std::size_t kRegistryEntries = 1000;
constexpr int kRewriteIterations = 4;
constexpr int kWholeReadIterations = 5;
// Each figure is the fastest of a few repetitions: the machine may be busy with other work, and
// that only ever adds time.
constexpr int kRepetitions = 3;

const BenchFiles* files = nullptr;

// --- The operations, each run once per iteration --------------------------------------------

// The whole file into memory with the plainest calls.
void ReadBaseline() {
    benchmark::DoNotOptimize(PlainRead(files->document()));
}

void RewriteBaseline() {
    const std::optional<Text> bytes = store::ReadFile(files->document());
    benchmark::DoNotOptimize(store::WriteFileAtomic(files->document(), {*bytes}));
}

void ListLabels() {
    benchmark::DoNotOptimize(store::ListLabels(files->document()));
}

void ReadSectionAt(std::size_t index) {
    benchmark::DoNotOptimize(store::ReadSection(files->document(), files->labels()[index]));
}

std::size_t Middle() {
    return files->labels().size() / 2;
}

void ReadFirst() {
    ReadSectionAt(0);
}
void ReadMiddle() {
    ReadSectionAt(Middle());
}
void ReadLast() {
    ReadSectionAt(files->labels().size() - 1);
}

void SaveMiddle() {
    benchmark::DoNotOptimize(store::SaveSection(files->document(), files->labels()[Middle()],
                                                store::SaveMode::Save, files->sectionText()));
}

void DeleteMiddle() {
    benchmark::DoNotOptimize(store::DeleteSection(files->document(), files->labels()[Middle()]));
}

void EnumerateRegistry() {
    const store::Settings settings(files->settings());
    benchmark::DoNotOptimize(store::EnumerateRegistry(settings));
}

void RegisterNext() {
    store::Settings settings(files->settings());
    benchmark::DoNotOptimize(store::RegisterDocument(settings, files->newDocumentPath()));
}

// --- Benchmarks -----------------------------------------------------------------------------

enum class Restore { Nothing, Document, Settings };

void RestoreFile(Restore restore) {
    if (restore == Restore::Document) {
        files->RestoreDocument();
    } else if (restore == Restore::Settings) {
        files->RestoreSettings();
    }
}

// Every operation that changes a file starts from the original bytes; putting them back is not
// timed. The baseline rewrite is restored as well, so that both start with the same disk state.
void Register(const char* name, std::function<void()> operation, Restore restore,
              std::optional<int> iterations = std::nullopt) {
    auto* bench = benchmark::RegisterBenchmark(name, [operation, restore](benchmark::State& state) {
        for (auto _ : state) {
            if (restore != Restore::Nothing) {
                state.PauseTiming();
                RestoreFile(restore);
                state.ResumeTiming();
            }
            operation();
        }
        RestoreFile(restore); // the loop is over, so this is not timed
    });
    bench->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(kRepetitions)
        ->DisplayAggregatesOnly(true)
        ->ComputeStatistics("min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
    if (iterations) {
        bench->Iterations(*iterations);
    }
}

// Keeps the fastest repetition's real time per iteration of each benchmark, by name, while printing
// as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate &&
                run.aggregate_name == "min" && run.iterations > 0) {
                seconds[run.run_name.function_name] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> seconds;
};

// --- The tables -----------------------------------------------------------------------------

struct RatioGoal {
    const char* name;
    const char* baseline;
    double limit;
};

void PrintTimeTable(const std::map<std::string, double>& seconds) {
    std::printf("\n| operation | time | baseline | ratio | goal | met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    const RatioGoal ratioGoals[] = {
        {"ListLabels", "plain read", 1.3},
        {"ReadSection/first", "plain read", 1.3},
        {"ReadSection/middle", "plain read", 1.3},
        {"ReadSection/last", "plain read", 1.3},
        {"SaveSection/middle", "ReadFile+WriteFileAtomic", 1.5},
        {"DeleteSection/middle", "ReadFile+WriteFileAtomic", 1.5},
    };
    for (const RatioGoal& goal : ratioGoals) {
        if (!seconds.contains(goal.name) || !seconds.contains(goal.baseline)) {
            continue; // left out by a filter
        }
        const double time = seconds.at(goal.name);
        const double base = seconds.at(goal.baseline);
        char goalText[32];
        std::snprintf(goalText, sizeof goalText, "≤ %.1f × baseline", goal.limit);
        Row(goal.name, Milliseconds(time), Milliseconds(base) + " (" + goal.baseline + ")",
            Ratio(time / base), goalText, Met(time <= goal.limit * base));
    }
    for (const char* name : {"EnumerateRegistry", "RegisterDocument"}) {
        if (!seconds.contains(name)) {
            continue;
        }
        const double time = seconds.at(name);
        Row(name, Milliseconds(time), "—", "—", "< 20 ms", Met(time < 0.020));
    }
}

struct MemoryCase {
    const char* name;
    std::function<void()> operation;
    Restore restore;
};

// Each operation once from the original file, its peak taken above what was held before it.
void PrintMemoryTable() {
    const std::size_t documentSize = files->documentBytes().size();
    const std::size_t settingsSize = files->settingsBytes().size();
    const MemoryCase cases[] = {
        {"plain read", ReadBaseline, Restore::Nothing},
        {"ReadFile+WriteFileAtomic", RewriteBaseline, Restore::Document},
        {"ListLabels", ListLabels, Restore::Nothing},
        {"ReadSection/first", ReadFirst, Restore::Nothing},
        {"ReadSection/middle", ReadMiddle, Restore::Nothing},
        {"ReadSection/last", ReadLast, Restore::Nothing},
        {"SaveSection/middle", SaveMiddle, Restore::Document},
        {"DeleteSection/middle", DeleteMiddle, Restore::Document},
        {"EnumerateRegistry", EnumerateRegistry, Restore::Settings},
        {"RegisterDocument", RegisterNext, Restore::Settings},
    };
    std::printf("\n| operation | peak memory | document | ratio | goal | met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::string settingsNote;
    for (const MemoryCase& memoryCase : cases) {
        RestoreFile(memoryCase.restore);
        std::size_t peak = 0;
        {
            const PeakScope scope;
            memoryCase.operation();
            peak = scope.PeakAbove();
        }
        RestoreFile(memoryCase.restore);
        const double ratio = static_cast<double>(peak) / static_cast<double>(documentSize);
        Row(memoryCase.name, Size(peak), Size(documentSize), Ratio(ratio), "≤ 2 × document",
            Met(ratio <= 2.0));
        if (memoryCase.restore == Restore::Settings) {
            settingsNote.append(" ").append(memoryCase.name).append(" ");
            settingsNote.append(
                Ratio(static_cast<double>(peak) / static_cast<double>(settingsSize)));
            settingsNote.append(" ×;");
        }
    }
    // The registry works on the settings file, so its own size is the fairer measure there.
    std::printf("\nAgainst the settings file (%s):%s\n", Size(settingsSize).c_str(),
                settingsNote.c_str());
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
    return text;
}

} // namespace
} // namespace quorvel::bench

int main(int argc, char** argv) {
    using namespace quorvel::bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const auto madeAt = std::chrono::steady_clock::now();
    const BenchFiles made(DocumentShape{}, kRegistryEntries);
    files = &made;
    const std::chrono::duration<double> making = std::chrono::steady_clock::now() - madeAt;
    std::printf("store_bench %s: document %s in %zu sections, settings file %zu bytes with %zu "
                "registry entries (made in %.1f s)\n",
                Today().c_str(), Size(made.documentBytes().size()).c_str(), made.labels().size(),
                made.settingsBytes().size(), kRegistryEntries, making.count());

    Register("plain read", ReadBaseline, Restore::Nothing, kWholeReadIterations);
    Register("ListLabels", ListLabels, Restore::Nothing);
    Register("ReadSection/first", ReadFirst, Restore::Nothing, kWholeReadIterations);
    Register("ReadSection/middle", ReadMiddle, Restore::Nothing, kWholeReadIterations);
    Register("ReadSection/last", ReadLast, Restore::Nothing, kWholeReadIterations);
    Register("ReadFile+WriteFileAtomic", RewriteBaseline, Restore::Document, kRewriteIterations);
    Register("SaveSection/middle", SaveMiddle, Restore::Document, kRewriteIterations);
    Register("DeleteSection/middle", DeleteMiddle, Restore::Document, kRewriteIterations);
    Register("EnumerateRegistry", EnumerateRegistry, Restore::Nothing);
    Register("RegisterDocument", RegisterNext, Restore::Settings);

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    PrintTimeTable(reporter.seconds);
    PrintMemoryTable();
    return 0;
}

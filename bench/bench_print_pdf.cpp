// `zoedit --print-pdf` of the full-capacity sample's TV list (10,000 rows):
// reading the file, laying the pages out and writing the whole PDF.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

#include "database/channel_file.h"
#include "database/sample_database.h"
#include "qt/pdf_export.h"

namespace {

using namespace zoedit;

std::unique_ptr<QTemporaryDir> g_dir;
QString g_fullPath;

bool writeFullSample() {
    g_dir = std::make_unique<QTemporaryDir>();
    g_fullPath = g_dir->filePath(QStringLiteral("full.bin"));
    auto db = std::make_unique<ChannelDatabase>();
    buildSampleDatabase(*db, SampleSize::Full);
    return saveChannelFile(g_fullPath.toStdString(), *db, {}, 0).ok;
}

void BM_PrintFullTvListToPdf(benchmark::State& state) {
    const QString out = g_dir->filePath(QStringLiteral("full.pdf"));
    for (auto _ : state) {
        if (qt::printListToPdf(out, QStringLiteral("tv"), g_fullPath) != 0)
            state.SkipWithError("no PDF written");
    }
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(out).size());
}
BENCHMARK(BM_PrintFullTvListToPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!writeFullSample()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_dir.reset();
    return 0;
}

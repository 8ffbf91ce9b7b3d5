// Reading a file the user chose as strict UTF-8: what the import pane does on the GUI thread
// before a large text is parsed in the background.
#include "app/platform/file_reading.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A chronograph-like file of `megabytes` MB with some non-ASCII text in every line.
QString writeFile(const QTemporaryDir& folder, int megabytes) {
    const QString path = folder.filePath(QStringLiteral("export-%1.csv").arg(megabytes));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    std::string text = "\xEF\xBB\xBFShot,Velocity (fps),Temperature\r\n";
    for (int i = 1; text.size() < (std::size_t(megabytes) << 20); ++i)
        text += std::to_string(i) + ",\"2," + std::to_string(700 + i % 200) + ".5\",59\xC2\xB0" "F\r\n";
    file.write(text.data(), qint64(text.size()));
    return path;
}

void BM_ReadUtf8TextFile(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = writeFile(folder, int(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto read = kavrino::readUtf8TextFile(path, std::size_t{64} << 20);
        bytes = std::get<std::string>(read).size();
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReadUtf8TextFile)->Arg(10)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace

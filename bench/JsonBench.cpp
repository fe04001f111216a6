// Prints the JSON codec's parse and write speed beside Qt's QJsonDocument on
// generated forum answers, and the memory each parsed document holds.
//
// Memory is measured in a second run of this program with the allocator's
// per-thread cache off (GLIBC_TUNABLES=glibc.malloc.tcache_count=0): chunks
// freed into that cache still count as in use, so a document built from them
// would seem to hold nothing. Speed is measured with the cache on, as the
// application runs.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMU_BENCH=ON
//   cmake --build build-bench --target json_bench && build-bench/bench/json_bench
//
// Options: --write-corpus DIR saves the generated answers (fuzzing seeds, for one);
// --parse NAME [TIMES] parses one of them TIMES times or for five seconds, for
// a profiler (--parse-qt with Qt's parser): instruction counts of runs with
// different TIMES give the cost of one parse; --held prints the memory
// figures (what the second run does).
#include "ForumCorpus.h"

#include "app/json/ZyJsonParser.h"
#include "app/json/ZyJsonWriter.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Bytes the allocator hands out at this moment.
size_t heapInUse()
{
    return mallinfo2().uordblks;
}

// Seconds for one call of each function, measured in interleaved batches so
// that both sides see the same load on a shared machine; the median batch.
std::vector<double> secondsPerCall(const std::vector<std::function<void()>>& calls)
{
    constexpr int batches = 7;
    constexpr double batchSeconds = 0.06;
    std::vector<int> repeats;
    for (const auto& call : calls) {
        const auto start = Clock::now();
        call();
        const double once = std::chrono::duration<double>(Clock::now() - start).count();
        repeats.push_back(std::max(1, int(batchSeconds / std::max(once, 1e-7))));
    }
    std::vector<std::vector<double>> samples(calls.size());
    for (int b = 0; b < batches; ++b) {
        for (size_t i = 0; i < calls.size(); ++i) {
            const auto start = Clock::now();
            for (int k = 0; k < repeats[i]; ++k)
                calls[i]();
            samples[i].push_back(std::chrono::duration<double>(Clock::now() - start).count() / repeats[i]);
        }
    }
    std::vector<double> result;
    for (std::vector<double>& s : samples) {
        std::sort(s.begin(), s.end());
        result.push_back(s[s.size() / 2]);
    }
    return result;
}

Value parseOurs(const QByteArray& json)
{
    ZyJsonParser parser;
    return parser.objectWithUTF8(json);
}

QString writeOurs(const Value& value)
{
    ZyJsonWriter writer;
    return writer.stringWithObject(value);
}

QJsonDocument parseQt(const QByteArray& json)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        std::fprintf(stderr, "Qt refused the corpus: %s\n", qPrintable(error.errorString()));
        std::exit(1);
    }
    return document;
}

template <typename Parse>
double heldPerInputByte(const QByteArray& json, Parse parse)
{
    const size_t before = heapInUse();
    const auto document = parse(json);
    const size_t after = heapInUse();
    return (double(after) - double(before)) / double(json.size());
}

// Held memory against the answer's size for each answer, ours and Qt's, each
// after a first parse of the same answer: what the process keeps for every
// answer (the key pool, the parsers' scratch) is not the document's.
void printHeld(const std::vector<CorpusFile>& files)
{
    for (const CorpusFile& file : files) {
        parseOurs(file.json);
        parseQt(file.json);
        const double ours = heldPerInputByte(file.json, parseOurs);
        const double qt = heldPerInputByte(file.json, parseQt);
        std::printf("%s\t%f\t%f\n", qPrintable(file.name), ours, qt);
    }
}

// The held memory of each answer, measured by this program run again with
// the allocator's per-thread cache off.
std::map<QString, std::pair<double, double>> heldWithoutThreadCache()
{
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::fprintf(stderr, "Cannot find this program to run it again\n");
        std::exit(1);
    }
    self[length] = 0;
    QByteArray tunables = qgetenv("GLIBC_TUNABLES");
    if (!tunables.isEmpty())
        tunables += ':';
    tunables += "glibc.malloc.tcache_count=0";
    qputenv("GLIBC_TUNABLES", tunables);
    const QByteArray command = '\'' + QByteArray(self) + "' --held";
    FILE* run = popen(command.constData(), "r");
    std::map<QString, std::pair<double, double>> held;
    char line[512];
    while (run && std::fgets(line, sizeof line, run)) {
        const QList<QByteArray> fields = QByteArray(line).trimmed().split('\t');
        if (fields.size() == 3)
            held[QString::fromUtf8(fields[0])] = {fields[1].toDouble(), fields[2].toDouble()};
    }
    if (!run || pclose(run) != 0) {
        std::fprintf(stderr, "The memory run failed\n");
        std::exit(1);
    }
    return held;
}

QString megabytes(qsizetype bytes)
{
    if (bytes >= 1'000'000)
        return QString::number(double(bytes) / 1e6, 'f', 1) + QStringLiteral(" MB");
    return QString::number(double(bytes) / 1e3, 'f', 1) + QStringLiteral(" kB");
}

void writeCorpus(const std::vector<CorpusFile>& files, const QString& folder)
{
    QDir().mkpath(folder);
    for (const CorpusFile& file : files) {
        QFile out(folder + u'/' + QString(file.name).replace(u' ', u'-') + QStringLiteral(".json"));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.json) != file.json.size()) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(out.fileName()));
            std::exit(1);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<CorpusFile> files = ForumCorpus::generate();
    if (argc == 3 && QByteArray(argv[1]) == "--write-corpus") {
        writeCorpus(files, QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    if ((argc == 3 || argc == 4) && (QByteArray(argv[1]) == "--parse" || QByteArray(argv[1]) == "--parse-qt")) {
        const bool qt = QByteArray(argv[1]) == "--parse-qt";
        const long times = argc == 4 ? std::atol(argv[3]) : -1;
        for (const CorpusFile& file : files) {
            if (file.name != QString::fromLocal8Bit(argv[2]))
                continue;
            const auto start = Clock::now();
            for (long i = 0; times < 0 ? Clock::now() - start < std::chrono::seconds(5) : i < times; ++i) {
                if (qt)
                    parseQt(file.json);
                else
                    parseOurs(file.json);
            }
            return 0;
        }
        std::fprintf(stderr, "No answer named %s\n", argv[2]);
        return 1;
    }

    if (argc == 2 && QByteArray(argv[1]) == "--held") {
        printHeld(files);
        return 0;
    }

    const std::map<QString, std::pair<double, double>> held = heldWithoutThreadCache();
    std::printf("| answer | size | parse MB/s | Qt parse MB/s | parse vs Qt | write MB/s | Qt write MB/s "
                "| held / input | Qt held / input |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const CorpusFile& file : files) {
        const QByteArray& json = file.json;
        const Value value = parseOurs(json);
        if (!value.isDict()) {
            std::fprintf(stderr, "The codec refused %s\n", qPrintable(file.name));
            return 1;
        }
        const QJsonDocument document = parseQt(json);

        const std::vector<double> parse = secondsPerCall({[&] { parseOurs(json); }, [&] { parseQt(json); }});
        const std::vector<double> write = secondsPerCall(
            {[&] { writeOurs(value); }, [&] { document.toJson(QJsonDocument::Compact); }});
        const double mb = double(json.size()) / 1e6;
        std::printf("| %s | %s | %.0f | %.0f | %.2fx | %.0f | %.0f | %.2fx | %.2fx |\n", qPrintable(file.name),
                    qPrintable(megabytes(json.size())), mb / parse[0], mb / parse[1], parse[1] / parse[0],
                    mb / write[0], mb / write[1], held.at(file.name).first, held.at(file.name).second);
        std::fflush(stdout);
    }
    return 0;
}

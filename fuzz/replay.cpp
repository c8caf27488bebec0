// Runs a fuzz target's entry point over the files of its corpus, in name
// order, so that the corpus is checked by the test suite (and under the
// sanitizers) without libFuzzer. A target's own checks abort on a fault.
//   dye_corpus_<target> FOLDER...
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: not read: %s\n", qPrintable(file.fileName()),
                             qPrintable(file.errorString()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   size_t(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs\n", inputs);
    // An empty or missing corpus checks nothing: that is a failure too.
    return inputs > 0 ? 0 : 1;
}

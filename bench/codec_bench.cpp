// Frame codec rates: building a read, building a 10-value write, decoding
// the scan's two reads (4 × 32-bit weights, 13 × 16-bit switches).
#include <benchmark/benchmark.h>

#include "link/FrameCodec.h"

using dye::FrameCodec;

namespace {

QByteArray reply(int registers) {
    QByteArray r(1, '\x02');
    r.append("005100");
    for (int i = 0; i < registers; ++i) FrameCodec::appendWireDigits(r, quint32(1000 + 37 * i), 2);
    r.append('\x03');
    r.append(FrameCodec::sumDigits(r.mid(1, r.size() - 1)));
    return r;
}

void BuildRead(benchmark::State& state) {
    FrameCodec codec;
    for (auto _ : state) {
        codec.BuildReadRequest(QStringLiteral("190"), QStringLiteral("4"), QStringLiteral("32"));
        benchmark::DoNotOptimize(codec.TxFrame.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BuildRead);

void BuildWrite10(benchmark::State& state) {
    FrameCodec codec;
    for (int row = 1; row <= 10; ++row)
        codec.WriteValueTable[size_t(row)][0] = QString::number(row * 3001);
    for (auto _ : state) {
        codec.BuildWriteRequest(QStringLiteral("800"), QStringLiteral("10"), QStringLiteral("16"));
        benchmark::DoNotOptimize(codec.TxFrame.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BuildWrite10);

void Decode(benchmark::State& state, int count, const char* width) {
    const int registers = QByteArrayView(width) == "32" ? 2 * count : count;
    const QByteArray r = reply(registers);
    const QString w = QString::fromLatin1(width);
    for (auto _ : state) {
        auto values = FrameCodec::DecodeReadReply(r, count, w);
        benchmark::DoNotOptimize(values.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(Decode, weights_4x32, 4, "32");
BENCHMARK_CAPTURE(Decode, switches_13x16, 13, "16");

}  // namespace

BENCHMARK_MAIN();

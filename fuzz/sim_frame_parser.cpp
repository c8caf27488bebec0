// The simulator's frame parser and responder: any character stream is taken
// without crashing, every parsed request lies inside the register memory, and
// the machine survives whatever a write puts into its registers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sim/RegisterMemory.h"
#include "sim/SimulatedController.h"

using namespace dye;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto request = parseRequest(bytes)) {
        if (!RegisterMemory::validRange(request->first, request->registers)) std::abort();
        if (request->kind == SimRequest::Kind::Write &&
            int(request->values.size()) != request->registers)
            std::abort();
    }

    SimOptions options;
    options.machineType = 2;
    SimulatedController controller(options);
    qint64 us = 0;
    for (char c : bytes) {
        us += 521;
        const LoopAnswer answer = controller.receive(c, us);
        if (!answer.bytes.isEmpty() && answer.bytes.front() != '\x02') std::abort();
    }
    us += 10'000'000;
    controller.advanceTo(us);
    return 0;
}

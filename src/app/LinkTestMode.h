#pragma once

namespace dye {

struct CommandLine;

// `dyestation --link-test`: the link test screen on its own, with a port and
// codec state of its own, on the real clock. With --simulate its port talks
// to the built-in simulator.
int runLinkTest(const CommandLine& commandLine);

}  // namespace dye
